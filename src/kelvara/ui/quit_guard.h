// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>

namespace kelvara {

class AppState;

// Every way the program ends passes here first, so that playback goes back to the player at
// the instrumental's position before the process exits. The first request starts the
// hand-back and defers the quit; requests during it start nothing new; handedBack() follows.
class QuitGuard : public QObject {
    Q_OBJECT

public:
    explicit QuitGuard(AppState& state, QObject* parent = nullptr);

    // True when the program may end now; otherwise the hand-back runs (or already runs).
    bool mayQuit();
    // For quits that cannot be deferred (the session ending): hands back before returning.
    void handBackNow();

signals:
    // The hand-back is done: ask again and the answer is yes.
    void handedBack();

private:
    bool handBackNeeded() const;
    void handBack();

    AppState& state_;
    bool terminating_ = false;
    bool done_ = false;
};

}  // namespace kelvara
