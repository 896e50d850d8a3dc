// SPDX-License-Identifier: GPL-3.0-or-later
#include "music_bridge.h"

#include "bridge_error.h"
#include "i18n/l.h"
#include "models/waveform_error.h"
#include "mpris_backend.h"
#include "osascript_backend.h"
#include "request_line_reader.h"

#include <QFileInfo>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cmath>
#include <unistd.h>

namespace kelvara {

namespace {

bool isHexDigits(const QString& text) {
    const auto isHexDigit = [](QChar c) {
        return (c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F');
    };
    return !text.isEmpty() && std::all_of(text.begin(), text.end(), isHexDigit);
}

// Keeps quotes, backslashes and line breaks out of the command script.
void checkCommand(const BridgeRequest& request) {
    if (!isHexDigits(request.trackID) || !std::isfinite(request.position)) {
        throw BridgeError(LinkErrorCode::invalidCommand, L("Некорректная команда Music"));
    }
}

BridgeRequest decodeRequest(const RequestLineReader::Line& line) {
    if (line.tooLong) {
        throw BridgeError(LinkErrorCode::unreadableRequest, L("Строка запроса слишком длинная"));
    }
    try {
        return BridgeRequest::fromJson(line.bytes);
    } catch (const WaveformError& error) {
        throw BridgeError(LinkErrorCode::unreadableRequest, error.text());
    }
}

MusicSnapshot errorSnapshot(const BridgeError& error) {
    const QString text = error.is(LinkErrorCode::automationDenied)
        ? L("Разрешите Kelvara управлять Music: Системные настройки → Конфиденциальность и безопасность → "
            "Автоматизация. Затем нажмите «Повторить».")
        : error.text();
    return MusicSnapshot::failure(text, error.code());
}

MusicSnapshot reply(PlayerBackend& backend, const RequestLineReader::Line& line) {
    try {
        backend.beginRequest();
        const BridgeRequest request = decodeRequest(line);
        if (request.isCommand()) {
            checkCommand(request);
            backend.runCommand(request);
        }
        return backend.readStatus();
    } catch (const BridgeError& error) {
        return errorSnapshot(error);
    } catch (const std::exception&) {
        return errorSnapshot(BridgeError(LinkErrorCode::unknown, L("Ошибка Apple Events")));
    }
}

QByteArray encodedLine(const MusicSnapshot& snapshot) {
    try {
        return snapshot.toJson() + '\n';
    } catch (const WaveformError& error) {
        // A number the player gave that JSON cannot hold; the parent still needs its line.
        return MusicSnapshot::failure(error.text(), LinkErrorCode::unknown).toJson() + '\n';
    }
}

void writeAll(int fd, const QByteArray& bytes) {
    qsizetype written = 0;
    while (written < bytes.size()) {
        const ssize_t count = ::write(fd, bytes.constData() + written, static_cast<size_t>(bytes.size() - written));
        if (count < 0 && errno == EINTR) {
            continue;
        }
        if (count <= 0) {
            return;  // the parent has gone; reading on ends the loop when its pipe closes
        }
        written += count;
    }
}

}  // namespace

QByteArray MusicBridge::answer(PlayerBackend& backend, QByteArrayView line) {
    return encodedLine(reply(backend, {line.toByteArray(), false}));
}

void MusicBridge::serve(PlayerBackend& backend, int input, int output) {
    // A parent that went away must end this loop through its closed input, not kill it.
    std::signal(SIGPIPE, SIG_IGN);
    RequestLineReader reader(input);
    while (const std::optional<RequestLineReader::Line> line = reader.next()) {
        writeAll(output, encodedLine(reply(backend, *line)));
    }
}

void MusicBridge::serve() {
    const std::unique_ptr<PlayerBackend> backend = platformBackend();
    serve(*backend, STDIN_FILENO, STDOUT_FILENO);
}

std::unique_ptr<PlayerBackend> MusicBridge::platformBackend() {
    if (QFileInfo(QString::fromLatin1(OsascriptBackend::systemPath)).isExecutable()) {
        return std::make_unique<OsascriptBackend>();
    }
    return std::make_unique<MprisBackend>();
}

}  // namespace kelvara
