// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/quit_guard.h"

#include "app_state.h"

#include <QCoroTask>
#include <QPointer>

namespace kelvara {

QuitGuard::QuitGuard(AppState& state, QObject* parent) : QObject(parent), state_(state) {}

bool QuitGuard::mayQuit() {
    if (done_ || !handBackNeeded()) {
        return true;
    }
    if (!terminating_) {
        terminating_ = true;
        handBack();
    }
    return false;
}

bool QuitGuard::handBackNeeded() const {
    return state_.instrumental().vocalActive() || state_.instrumental().vocalSwitching();
}

void QuitGuard::handBack() {
    QPointer<QuitGuard> self(this);
    state_.prepareToQuit().then([self] {
        if (self) {
            self->done_ = true;
            emit self->handedBack();
        }
    });
}

void QuitGuard::handBackNow() {
    if (done_ || !handBackNeeded()) {
        return;
    }
    terminating_ = true;
    QCoro::waitFor(state_.prepareToQuit());
    done_ = true;
}

}  // namespace kelvara
