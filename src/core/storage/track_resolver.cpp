// SPDX-License-Identifier: GPL-3.0-or-later
#include "storage/track_resolver.h"

#include "i18n/l.h"
#include "models/waveform_error.h"

#include <QFile>

#include <filesystem>
#include <system_error>

#include <unistd.h>

namespace kelvara {

QString TrackResolver::resolve(const QString& path) {
    if (path.isEmpty()) {
        throw WaveformError::unavailable(
            L("Music не сообщает путь к файлу. Для потокового или DRM-трека waveform недоступен. Если это ваш "
              "локальный файл, выберите его вручную."));
    }
    std::error_code error;
    const auto resolved = std::filesystem::canonical(QFile::encodeName(path).toStdString(), error);
    if (error || ::access(resolved.c_str(), R_OK) != 0) {
        throw WaveformError::unavailable(
            L("Файл недоступен. Проверьте подключение диска и разрешения или выберите файл вручную."));
    }
    return QFile::decodeName(QByteArray::fromStdString(resolved.string()));
}

}  // namespace kelvara
