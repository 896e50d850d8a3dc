// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "models/bridge_request.h"
#include "models/music_snapshot.h"

#include <QByteArray>
#include <QProcess>
#include <QStringList>

namespace kelvara::testing {

// `kelvara --music-bridge` started by the test, spoken to one line at a time.
class BridgeChild {
public:
    // By default the child speaks the test's language, as the window passes on its own.
    explicit BridgeChild(const QStringList& arguments = defaultArguments());
    ~BridgeChild();

    // Writes `line` and a line feed; returns the next reply line without its line feed.
    QByteArray exchange(const QByteArray& line);
    MusicSnapshot ask(const BridgeRequest& request);
    MusicSnapshot snapshot() { return ask(BridgeRequest::snapshot()); }
    MusicSnapshot command(BridgeAction action, const QString& trackID, double position = 0) {
        return ask({action, trackID, position});
    }

    // Closes the child's input and returns its exit code once it has ended; a child that
    // stops answering while input or replies are still pending is killed (−1).
    int closeInput();
    QProcess& process() { return process_; }

    static QStringList defaultArguments();

private:
    QProcess process_;
};

}  // namespace kelvara::testing
