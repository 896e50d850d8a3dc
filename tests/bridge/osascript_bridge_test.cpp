// SPDX-License-Identifier: GPL-3.0-or-later
// The osascript back-end against a stand-in osascript that accepts only the exact script
// texts Music is scripted with and answers like Music would.
#include "bridge_fixture.h"
#include "i18n/l.h"
#include "music_bridge.h"
#include "osascript_backend.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace kelvara::testing {
namespace {

const char* const statusScript = R"script(with timeout of 3 seconds
    if application "Music" is not running then return {false}
    tell application "Music"
        set playbackState to player state as text
        if not (exists current track) then return {true, "", "", "", "", "", 0, 0, playbackState}
        set t to current track
        set trackID to persistent ID of t
        set trackName to name of t
        set trackArtist to artist of t
        set trackAlbum to album of t
        set trackDuration to duration of t
        set localPath to ""
        try
            set localFile to get location of t
            set localPath to POSIX path of localFile
        end try
        set trackPosition to player position
        if persistent ID of current track is not trackID then error "Трек сменился во время чтения. Повторяем." number -10001
        return {true, trackID, trackName, trackArtist, trackAlbum, localPath, trackDuration, trackPosition, playbackState, sound volume, mute}
    end tell
end timeout)script";

QString commandScript(const QString& trackID, const QString& command) {
    return QStringLiteral("with timeout of 3 seconds\n"
                          "    if application \"Music\" is not running then error \"Music закрыта\" number -10002\n"
                          "    tell application \"Music\"\n"
                          "        if not (exists current track) then error \"Нет текущего трека\" number -10002\n"
                          "        if persistent ID of current track is not \"%1\" then error \"Трек уже сменился\" number -10001\n"
                          "        %2\n"
                          "    end tell\n"
                          "end timeout")
        .arg(trackID, command);
}

// Scripts other than the status script must equal `expected-command`; the answer to each
// kind comes from <kind>.out, or from <kind>.err with exit status 1.
const char* const standIn = R"sh(#!/bin/sh
dir=$(dirname "$0")
if [ $# -ne 2 ] || [ "$1" != "-s" ] || [ "$2" != "s" ]; then echo "bad arguments: $*" >&2; exit 2; fi
cat > "$dir/received"
if cmp -s "$dir/received" "$dir/expected-status"; then kind=status
elif cmp -s "$dir/received" "$dir/expected-command"; then kind=command; echo run >> "$dir/commands-run"
else echo "0:0: execution error: unexpected script (-2753)" >&2; exit 1; fi
if [ -f "$dir/$kind.err" ]; then cat "$dir/$kind.err" >&2; exit 1; fi
cat "$dir/$kind.out" 2>/dev/null
exit 0
)sh";

const QString trackID = QStringLiteral("0123456789ABCDEF");

class OsascriptBridge : public BridgeFixture {
protected:
    OsascriptBridge() {
        write("osascript", standIn);
        QFile::setPermissions(dir_.filePath("osascript"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        write("expected-status", statusScript);
        write("status.out", "{true, \"" + trackID.toUtf8() + "\", \"Tom \\\"Big\\\" O\\\\Neil\", \"Café\", missing value, "
                            "\"/Users/ana/Music/a b.m4a\", 1.23456E+4, 93.25, \"playing\", 65, false}\n");
    }

    void write(const char* name, const QByteArray& content) {
        QFile file(dir_.filePath(QLatin1String(name)));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(content);
    }

    MusicSnapshot answer(const BridgeRequest& request) {
        return MusicSnapshot::fromJson(MusicBridge::answer(backend_, request.toJson()).chopped(1));
    }

    int commandsRun() const {
        QFile log(dir_.filePath(QStringLiteral("commands-run")));
        return log.open(QIODevice::ReadOnly) ? int(log.readAll().count('\n')) : 0;
    }

    QTemporaryDir dir_;
    OsascriptBackend backend_{dir_.filePath(QStringLiteral("osascript"))};
};

TEST_F(OsascriptBridge, StatusListsOfElevenNineAndOneItemFillTheSnapshot) {
    const MusicSnapshot full = answer(BridgeRequest::snapshot());
    EXPECT_FALSE(full.error) << full.error.value_or("").toStdString();
    EXPECT_TRUE(full.running);
    EXPECT_EQ(full.id, trackID);
    EXPECT_EQ(full.title, "Tom \"Big\" O\\Neil");
    EXPECT_EQ(full.artist, "Café");
    EXPECT_EQ(full.album, "");  // missing value
    EXPECT_EQ(full.path, "/Users/ana/Music/a b.m4a");
    EXPECT_DOUBLE_EQ(full.duration, 12345.6);
    EXPECT_DOUBLE_EQ(full.position, 93.25);
    EXPECT_EQ(full.state, PlaybackState::playing);
    EXPECT_DOUBLE_EQ(full.volume, 65);
    EXPECT_FALSE(full.muted);

    write("status.out", "{true, \"\", \"\", \"\", \"\", \"\", 0, 0, \"paused\"}\n");
    MusicSnapshot idle;
    idle.running = true;
    idle.state = PlaybackState::paused;
    EXPECT_EQ(answer(BridgeRequest::snapshot()), idle);

    write("status.out", "{false}\n");
    EXPECT_EQ(answer(BridgeRequest::snapshot()), MusicSnapshot());
}

TEST_F(OsascriptBridge, CommandScriptsCarryTheTrackAndTheExactCommandText) {
    const struct {
        const char* action;
        double position;
        QString command;
    } cases[] = {
        {"seek", 93.25, QStringLiteral("set player position to 93.25")},
        {"seek", -3, QStringLiteral("set player position to 0.0")},
        {"seek", 1e20, QStringLiteral("set player position to 100000000000000000000.0")},
        {"resumeAt", 7, QStringLiteral("set player position to 7.0\nplay")},
        {"pauseAt", 0.1, QStringLiteral("pause\nset player position to 0.1")},
        {"toggle", 0, QStringLiteral("playpause")},
        {"pause", 0, QStringLiteral("pause")},
    };
    for (const auto& [action, position, command] : cases) {
        write("expected-command", commandScript(trackID, command).toUtf8());
        const MusicSnapshot reply = answer({bridgeActionNamed(QString::fromLatin1(action)), trackID, position});
        EXPECT_FALSE(reply.error) << action << " " << position << ": " << reply.error.value_or("").toStdString();
        EXPECT_EQ(reply.title, "Tom \"Big\" O\\Neil");  // the status read after the command
    }
    EXPECT_EQ(commandsRun(), 7);
}

TEST_F(OsascriptBridge, ScriptErrorsComeBackWithTheirNumberAndLocalizedMessage) {
    write("expected-command", commandScript(trackID, QStringLiteral("pause")).toUtf8());
    write("command.err", "120:180: execution error: Трек уже сменился (-10001)\n");
    EXPECT_EQ(answer({BridgeAction::pause, trackID, 0}), MusicSnapshot::failure(L("Трек уже сменился"), -10001));

    write("status.err", "execution error: Not authorized to send Apple events to Music. (-1743)\n");
    EXPECT_EQ(answer(BridgeRequest::snapshot()).errorCode, -1743);
    EXPECT_EQ(answer(BridgeRequest::snapshot()).error,
              L("Разрешите Kelvara управлять Music: Системные настройки → Конфиденциальность и безопасность → "
                "Автоматизация. Затем нажмите «Повторить»."));

    write("status.err", "0:420: execution error: Music got an error: AppleEvent timed out. (-1712)\n");
    EXPECT_EQ(answer(BridgeRequest::snapshot()),
              MusicSnapshot::failure(QStringLiteral("Music got an error: AppleEvent timed out."), -1712));

    write("status.err", "something went wrong\n");
    EXPECT_EQ(answer(BridgeRequest::snapshot()), MusicSnapshot::failure(L("Ошибка Apple Events"), -1));
}

TEST_F(OsascriptBridge, InvalidCommandsNeverReachTheScript) {
    for (const QString& id : {QStringLiteral("ab\"cd"), QStringLiteral(""), QStringLiteral("ab\ncd")}) {
        EXPECT_EQ(answer({BridgeAction::seek, id, 1}), MusicSnapshot::failure(L("Некорректная команда Music"), 0));
    }
    EXPECT_EQ(commandsRun(), 0);
}

}  // namespace
}  // namespace kelvara::testing
