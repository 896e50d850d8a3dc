// SPDX-License-Identifier: GPL-3.0-or-later
#include "vocal/instrumental_cache.h"

#include "analysis/audio_decoder.h"
#include "i18n/l.h"
#include "models/waveform_error.h"
#include "storage/cache_eviction.h"
#include "storage/file_error.h"

#include <QFile>
#include <QStandardPaths>

#include <cmath>
#include <filesystem>
#include <system_error>

namespace kelvara {

namespace {

double decodedDuration(const QString& path, std::int64_t& frames) {
    const AudioDecoder decoder(path);
    frames = decoder.format().declaredFrames;
    return static_cast<double>(frames) / decoder.format().sampleRate;
}

}  // namespace

InstrumentalCache::InstrumentalCache(std::optional<QString> directory)
    : directory_(directory ? std::move(*directory) : defaultDirectory()) {}

QString InstrumentalCache::defaultDirectory() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation) +
           QStringLiteral("/local.kelvara.waveform/Instrumentals");
}

QString InstrumentalCache::fileFor(const FileIdentity& identity) const {
    return directory_ + QLatin1Char('/') + identity.key() + QStringLiteral("-bs317-v1.wav");
}

void InstrumentalCache::create() const {
    std::error_code error;
    std::filesystem::create_directories(QFile::encodeName(directory_).toStdString(), error);
    if (error) {
        throw fileError(directory_, QString::fromLocal8Bit(error.message()));
    }
}

void InstrumentalCache::validate(const QString& candidate, const QString& source) {
    std::int64_t sourceFrames = 0;
    std::int64_t candidateFrames = 0;
    const double sourceDuration = decodedDuration(source, sourceFrames);
    const double candidateDuration = decodedDuration(candidate, candidateFrames);
    if (candidateFrames < 1 || std::abs(candidateDuration - sourceDuration) >= durationTolerance) {
        throw WaveformError::unavailable(L("Длительность инструментала не совпала с оригиналом"));
    }
}

void InstrumentalCache::prune(const QString& keep) const {
    evictOldest(directory_, QStringLiteral("wav"), sizeBudget, keep);
}

}  // namespace kelvara
