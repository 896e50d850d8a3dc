// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "player_backend.h"

#include <QString>

namespace kelvara {

// Where osascript exists (macOS), the Music app is scripted with the texts of MusicScripts,
// each run as `osascript -s s` with the script on its standard input.
class OsascriptBackend final : public PlayerBackend {
public:
    static constexpr const char* systemPath = "/usr/bin/osascript";
    // The scripts give up after 3 s themselves; this only bounds an osascript that hangs.
    static constexpr int processTimeoutMs = 10000;

    explicit OsascriptBackend(QString osascriptPath = QString::fromLatin1(systemPath));

    MusicSnapshot readStatus() override;
    void runCommand(const BridgeRequest& request) override;

private:
    // The script's result in source form; throws BridgeError with osascript's error number.
    QString run(const QString& script) const;

    QString osascriptPath_;
};

}  // namespace kelvara
