// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QString>

#include <functional>
#include <optional>

namespace kelvara {

// How the window sits among the others: a normal window, pinned above the others on the
// current desktop, or linked with the followed player's window so that the two move together.
// The mode is not stored: every run starts unpinned.
class PinControl : public QObject {
    Q_OBJECT

public:
    enum Mode { Unpinned = 0, Pinned = 1, Linked = 2 };

    // Why linking cannot start now, or nothing when it can. Asked before a press links.
    using LinkCheck = std::function<std::optional<QString>()>;

    explicit PinControl(QObject* parent = nullptr);

    int pinMode() const { return mode_; }
    const std::optional<QString>& pinError() const { return error_; }
    // The pin button's help, naming what the next press does.
    QString pinHelp() const;

    void setLinkCheck(LinkCheck check) { linkCheck_ = std::move(check); }

    // The pin button: 0 → 1 → 2 → 0. A press that would link stays at 1 with the reason
    // in pinError when linking cannot start.
    void cyclePinMode();
    // "Отключить закрепление": a normal window again, the message gone.
    void unpin();
    // Linking broke: pinned above the others, with the reason shown.
    void fallBack(const QString& reason);
    void dismissError();

signals:
    void changed();

private:
    void set(int mode, std::optional<QString> error);

    int mode_ = Unpinned;
    std::optional<QString> error_;
    LinkCheck linkCheck_;
};

}  // namespace kelvara
