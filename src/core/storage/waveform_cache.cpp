// SPDX-License-Identifier: GPL-3.0-or-later
#include "storage/waveform_cache.h"

#include "analysis/tempo_analyzer.h"
#include "i18n/l.h"
#include "logging/log_categories.h"
#include "models/waveform_error.h"
#include "storage/atomic_file.h"
#include "storage/cache_eviction.h"
#include "storage/regular_file.h"

#include <QFile>
#include <QStandardPaths>

#include <chrono>
#include <filesystem>
#include <system_error>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kelvara {

namespace {

namespace fs = std::filesystem;

// Marks a file as recently used for the eviction order.
void touch(const QString& path) {
    const struct timespec times[2] = {{0, UTIME_OMIT}, {0, UTIME_NOW}};
    ::utimensat(AT_FDCWD, QFile::encodeName(path).constData(), times, 0);
}

// "<key>.peaks.XXXXXX", left behind when a save was killed midway.
bool isTemporary(const fs::path& path) {
    return path.stem().extension() == ".peaks" && path.extension().string().size() == 7;  // "." + 6 letters
}

// Whether some process still has the file open: a write lease is only granted on a file
// nobody else holds. Where leases are not available, the file counts as held.
bool heldOpen(const fs::path& path) {
    const int handle = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (handle < 0) {
        return true;
    }
    const bool leased = ::fcntl(handle, F_SETLEASE, F_WRLCK) == 0;
    if (leased) {
        ::fcntl(handle, F_SETLEASE, F_UNLCK);
    }
    ::close(handle);
    return !leased;
}

// A temporary older than a minute that nobody holds belongs to a save that will never end.
bool abandoned(const CachedFile& file) {
    constexpr auto staleAfter = std::chrono::minutes(1);
    return isTemporary(file.path) && fs::file_time_type::clock::now() - file.modified > staleAfter && !heldOpen(file.path);
}

void removeQuietly(const fs::path& path) {
    std::error_code error;
    fs::remove(path, error);
    if (error) {
        qCDebug(cacheLog) << "cannot remove" << path.c_str() << ":" << error.message().c_str();
    }
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
    if (!RegularFile::open(file) || file.size() > largestReadableFile) {
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

// Removes abandoned temporaries, then evicts the least recently used ".peaks" files until the
// total (temporaries still in use included) is within the budget; files of other kinds are
// neither counted nor touched, and any failure is skipped.
void WaveformCache::prune() const {
    std::vector<CachedFile> files = cachedFiles(
        directory_, [](const fs::path& path) { return path.extension() == ".peaks" || isTemporary(path); });
    std::erase_if(files, [](const CachedFile& file) {
        if (!abandoned(file)) {
            return false;
        }
        removeQuietly(file.path);
        return true;
    });
    evictOldest(std::move(files), static_cast<std::uintmax_t>(sizeBudget),
                [](const CachedFile& file) { return !isTemporary(file.path); });
}

}  // namespace kelvara
