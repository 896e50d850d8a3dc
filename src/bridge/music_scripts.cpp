// SPDX-License-Identifier: GPL-3.0-or-later
#include "music_scripts.h"

#include <QStringList>

#include <algorithm>
#include <array>
#include <charconv>

namespace kelvara {

namespace {

QString actionText(const BridgeRequest& request) {
    const QString position = QStringLiteral("set player position to ") + MusicScripts::scriptNumber(request.position);
    switch (request.action) {
    case BridgeAction::resumeAt: return position + QStringLiteral("\nplay");
    case BridgeAction::pauseAt: return QStringLiteral("pause\n") + position;
    case BridgeAction::seek: return position;
    case BridgeAction::toggle: return QStringLiteral("playpause");
    case BridgeAction::pause:
    case BridgeAction::snapshot: break;
    }
    return QStringLiteral("pause");
}

}  // namespace

const QString& MusicScripts::status() {
    static const QString script = QStringList{
        QStringLiteral("with timeout of 3 seconds"),
        QStringLiteral("    if application \"Music\" is not running then return {false}"),
        QStringLiteral("    tell application \"Music\""),
        QStringLiteral("        set playbackState to player state as text"),
        QStringLiteral("        if not (exists current track) then return {true, \"\", \"\", \"\", \"\", \"\", 0, 0, playbackState}"),
        QStringLiteral("        set t to current track"),
        QStringLiteral("        set trackID to persistent ID of t"),
        QStringLiteral("        set trackName to name of t"),
        QStringLiteral("        set trackArtist to artist of t"),
        QStringLiteral("        set trackAlbum to album of t"),
        QStringLiteral("        set trackDuration to duration of t"),
        QStringLiteral("        set localPath to \"\""),
        QStringLiteral("        try"),
        QStringLiteral("            set localFile to get location of t"),
        QStringLiteral("            set localPath to POSIX path of localFile"),
        QStringLiteral("        end try"),
        QStringLiteral("        set trackPosition to player position"),
        QStringLiteral("        if persistent ID of current track is not trackID then error \"Трек сменился во время чтения. Повторяем.\" number -10001"),
        QStringLiteral("        return {true, trackID, trackName, trackArtist, trackAlbum, localPath, trackDuration, trackPosition, playbackState, sound volume, mute}"),
        QStringLiteral("    end tell"),
        QStringLiteral("end timeout"),
    }.join(QLatin1Char('\n'));
    return script;
}

QString MusicScripts::command(const BridgeRequest& request) {
    return QStringList{
        QStringLiteral("with timeout of 3 seconds"),
        QStringLiteral("    if application \"Music\" is not running then error \"Music закрыта\" number -10002"),
        QStringLiteral("    tell application \"Music\""),
        QStringLiteral("        if not (exists current track) then error \"Нет текущего трека\" number -10002"),
        QStringLiteral("        if persistent ID of current track is not \"") + request.trackID +
            QStringLiteral("\" then error \"Трек уже сменился\" number -10001"),
        QStringLiteral("        ") + actionText(request),
        QStringLiteral("    end tell"),
        QStringLiteral("end timeout"),
    }.join(QLatin1Char('\n'));
}

QString MusicScripts::scriptNumber(double seconds) {
    // Fixed notation, so the script never sees an exponent; 1e308 needs 309 digits.
    std::array<char, 400> text{};
    const auto result = std::to_chars(text.data(), text.data() + text.size(), std::max(seconds, 0.0),
                                      std::chars_format::fixed);
    QString number = QString::fromLatin1(text.data(), result.ptr - text.data());
    if (!number.contains(QLatin1Char('.'))) {
        number += QStringLiteral(".0");
    }
    return number;
}

}  // namespace kelvara
