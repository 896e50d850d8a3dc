// SPDX-License-Identifier: GPL-3.0-or-later
#include "view/pin_control.h"

#include "i18n/l.h"

namespace kelvara {

PinControl::PinControl(QObject* parent) : QObject(parent) {}

QString PinControl::pinHelp() const {
    switch (mode_) {
    case Pinned:
        return L("Закреплено на текущем рабочем столе · нажмите для связи с Music");
    case Linked:
        return L("Связано с Music · нажмите для отключения");
    default:
        return L("Закрепление выключено · нажмите для закрепления на экране");
    }
}

void PinControl::cyclePinMode() {
    if (mode_ == Pinned && linkCheck_) {
        if (std::optional<QString> refusal = linkCheck_()) {
            set(Pinned, std::move(refusal));
            return;
        }
    }
    set((mode_ + 1) % 3, std::nullopt);
}

void PinControl::unpin() { set(Unpinned, std::nullopt); }

void PinControl::fallBack(const QString& reason) { set(Pinned, reason); }

void PinControl::dismissError() { set(mode_, std::nullopt); }

void PinControl::set(int mode, std::optional<QString> error) {
    if (mode == mode_ && error == error_) {
        return;
    }
    mode_ = mode;
    error_ = std::move(error);
    emit changed();
}

}  // namespace kelvara
