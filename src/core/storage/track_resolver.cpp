// SPDX-License-Identifier: GPL-3.0-or-later
#include "storage/track_resolver.h"

#include "i18n/l.h"
#include "models/waveform_error.h"
#include "storage/file_identity.h"
#include "storage/regular_file.h"

#include <QFile>

#include <system_error>

#include <unistd.h>

namespace kelvara {

QString TrackResolver::resolve(const QString& path) {
    if (path.isEmpty()) {
        throw WaveformError::unavailable(
            L("Music не сообщает путь к файлу. Для потокового или DRM-трека waveform недоступен. Если это ваш "
              "локальный файл, выберите его вручную."));
    }
    const auto unavailable = [] {
        return WaveformError::unavailable(
            L("Файл недоступен. Проверьте подключение диска и разрешения или выберите файл вручную."));
    };
    QString resolved;
    try {
        resolved = FileIdentity::resolvedPath(path);
    } catch (const std::system_error&) {
        throw unavailable();
    }
    // A FIFO or a device would block the analysis for ever; a folder holds no audio.
    if (!RegularFile::isRegular(resolved) || ::access(QFile::encodeName(resolved).constData(), R_OK) != 0) {
        throw unavailable();
    }
    return resolved;
}

}  // namespace kelvara
