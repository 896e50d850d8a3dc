// SPDX-License-Identifier: GPL-3.0-or-later
#include "storage/waveform_cache.h"

#include "analysis/tempo_analyzer.h"
#include "i18n/l.h"
#include "logging/log_categories.h"
#include "models/waveform_error.h"
#include "storage/atomic_file.h"
#include "storage/cache_eviction.h"

#include <QFile>
#include <QStandardPaths>

#include <cstdint>

#include <fcntl.h>
#include <sys/stat.h>

namespace kelvara {

namespace {

// Marks a file as recently used for the eviction order.
void touch(const QString& path) {
    const struct timespec times[2] = {{0, UTIME_OMIT}, {0, UTIME_NOW}};
    ::utimensat(AT_FDCWD, QFile::encodeName(path).constData(), times, 0);
}

}  // namespace

WaveformCache::WaveformCache(std::optional<QString> directory)
    : directory_(directory ? std::move(*directory) : defaultDirectory()) {}

QString WaveformCache::defaultDirectory() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation) +
           QStringLiteral("/local.kelvara.waveform/Peaks");
}

QString WaveformCache::fileFor(const FileIdentity& identity) const {
    return directory_ + QLatin1Char('/') + identity.key() + QStringLiteral(".peaks");
}

std::optional<Waveform> WaveformCache::load(const FileIdentity& identity) const noexcept {
    try {
        auto entry = read(identity);
        if (!entry) {
            return std::nullopt;
        }
        if (entry->tempoAnalyzerVersion < TempoAnalyzer::version) {
            renewGrid(*entry);
        } else {
            touch(fileFor(identity));
        }
        return std::move(entry->waveform);
    } catch (const std::exception& error) {
        qCDebug(cacheLog) << "cache file" << fileFor(identity) << "unreadable:" << error.what();
        return std::nullopt;
    } catch (...) {
        return std::nullopt;
    }
}

std::optional<CacheEntry> WaveformCache::read(const FileIdentity& identity) const {
    QFile file(fileFor(identity));
    if (!file.exists()) {
        return std::nullopt;
    }
    if (!file.open(QIODevice::ReadOnly) || file.size() > largestReadableFile) {
        qCDebug(cacheLog) << "cache file" << file.fileName() << "unreadable or too large:" << file.errorString();
        return std::nullopt;
    }
    // Reading one byte past the limit also catches a file that grew since its size was read.
    const QByteArray bytes = file.read(largestReadableFile + 1);
    if (bytes.size() > largestReadableFile || file.error() != QFileDevice::NoError) {
        qCDebug(cacheLog) << "cache file" << file.fileName() << "unreadable or too large:" << file.errorString();
        return std::nullopt;
    }
    auto entry = CacheEntry::decode(bytes);
    if (!entry || entry->identity != identity || !entry->waveform.valid()) {
        qCDebug(cacheLog) << "cache file" << file.fileName() << "holds no valid analysis of this file";
        return std::nullopt;
    }
    return entry;
}

// Saving also marks the record recently used; when it fails (a read-only cache) the file is
// only touched, and the grid is found again on the next hit.
void WaveformCache::renewGrid(CacheEntry& entry) const {
    entry.waveform.beatGrid = TempoAnalyzer::analyze(entry.waveform, {});
    entry.tempoAnalyzerVersion = TempoAnalyzer::version;
    try {
        save(entry.waveform, entry.identity);
    } catch (const std::exception& error) {
        qCDebug(cacheLog) << "renewed grid not stored:" << error.what();
        touch(fileFor(entry.identity));
    }
}

void WaveformCache::save(const Waveform& waveform, const FileIdentity& identity) const {
    if (!waveform.valid()) {
        throw WaveformError::unavailable(L("Некорректные данные waveform"));
    }
    AtomicFile::write(fileFor(identity), CacheEntry{identity, waveform}.encode());
    prune();
}

// Evicts the least recently used ".peaks" files until the total is within the budget.
void WaveformCache::prune() const {
    evictOldest(directory_, QStringLiteral("peaks"), static_cast<std::uintmax_t>(sizeBudget));
}

}  // namespace kelvara
