// SPDX-License-Identifier: GPL-3.0-or-later
#include "osascript_backend.h"

#include "applescript_list.h"
#include "bridge_error.h"
#include "i18n/l.h"
#include "logging/log_categories.h"
#include "music_scripts.h"

#include <QProcess>
#include <QRegularExpression>

namespace kelvara {

namespace {

// osascript reports a failed script on standard error as
// "12:34: execution error: <message> (<number>)".
BridgeError scriptError(const QString& errorOutput) {
    static const QRegularExpression pattern(QStringLiteral("error: (.*?)(?: \\((-?\\d+)\\))?\\s*$"),
                                            QRegularExpression::DotMatchesEverythingOption);
    const QRegularExpressionMatch match = pattern.match(errorOutput);
    const QString message = match.captured(1).trimmed();
    bool hasNumber = false;
    const qint64 code = match.captured(2).toLongLong(&hasNumber);
    return {hasNumber ? code : number(LinkErrorCode::unknown),
            message.isEmpty() ? L("Ошибка Apple Events") : L(message.toUtf8().constData())};
}

MusicSnapshot snapshotOf(const AppleScriptList& items) {
    MusicSnapshot snapshot;
    snapshot.running = items.boolean(1).value_or(false);
    if (items.size() < 9) {
        return snapshot;
    }
    snapshot.id = items.text(2).value_or(QString());
    snapshot.title = items.text(3).value_or(QString());
    snapshot.artist = items.text(4).value_or(QString());
    snapshot.album = items.text(5).value_or(QString());
    snapshot.path = items.text(6).value_or(QString());
    snapshot.duration = items.number(7).value_or(0);
    snapshot.position = items.number(8).value_or(0);
    snapshot.state = playbackStateNamed(items.text(9).value_or(QString()));
    snapshot.volume = items.number(10).value_or(100);
    snapshot.muted = items.boolean(11).value_or(false);
    return snapshot;
}

}  // namespace

OsascriptBackend::OsascriptBackend(QString osascriptPath) : osascriptPath_(std::move(osascriptPath)) {}

QString OsascriptBackend::run(const QString& script) const {
    QProcess osascript;
    osascript.start(osascriptPath_, {QStringLiteral("-s"), QStringLiteral("s")});
    if (!osascript.waitForStarted()) {
        qCDebug(linkLog) << "osascript did not start:" << osascript.errorString();
        throw BridgeError(LinkErrorCode::unknown, L("Ошибка Apple Events"));
    }
    osascript.write(script.toUtf8());
    osascript.closeWriteChannel();
    if (!osascript.waitForFinished(processTimeoutMs)) {
        osascript.kill();
        osascript.waitForFinished();
        throw BridgeError(LinkErrorCode::timedOut, L("Music не отвечает"));
    }
    if (osascript.exitStatus() != QProcess::NormalExit || osascript.exitCode() != 0) {
        const QString errorOutput = QString::fromUtf8(osascript.readAllStandardError());
        qCDebug(linkLog) << "osascript failed with exit code" << osascript.exitCode() << ":" << errorOutput;
        throw scriptError(errorOutput);
    }
    return QString::fromUtf8(osascript.readAllStandardOutput());
}

MusicSnapshot OsascriptBackend::readStatus() {
    return snapshotOf(AppleScriptList::parse(run(MusicScripts::status())));
}

void OsascriptBackend::runCommand(const BridgeRequest& request) {
    run(MusicScripts::command(request));
}

}  // namespace kelvara
