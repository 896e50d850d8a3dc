// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

namespace kelvara {

// One MPRIS player on the session bus: one connection, which may own several bus names
// (VLC owns …vlc and …vlc.instance<PID>). It is listed, chosen and addressed by its first
// bus name.
struct MprisPlayer {
    static constexpr const char* prefix = "org.mpris.MediaPlayer2.";

    QString connection;    // the unique name, ":1.42"
    QStringList busNames;  // sorted; never empty while the player is listed
    QString identity;      // the player's own name, e.g. "mpv Media Player"; empty until read
    QString status;        // PlaybackStatus: "Playing", "Paused", "Stopped"; empty until read

    QString busName() const { return busNames.value(0); }
    // The first bus name after the prefix: what Settings::musicPlayer stores.
    QString suffix() const;
    // Whether any of its bus names ends in `suffix` after the prefix.
    bool answersTo(const QString& suffix) const;
    bool playing() const { return status == QLatin1String("Playing"); }
    // Identity, else the suffix.
    QString title() const;

    static bool isPlayerName(const QString& busName);
};

}  // namespace kelvara
