// SPDX-License-Identifier: GPL-3.0-or-later
#include "storage/cache_eviction.h"

#include "logging/log_categories.h"

#include <QFile>

#include <algorithm>
#include <filesystem>
#include <system_error>
#include <vector>

namespace kelvara {

namespace {

namespace fs = std::filesystem;

fs::path nativePath(const QString& path) { return QFile::encodeName(path).toStdString(); }

struct CacheFile {
    fs::path path;
    std::uintmax_t size;
    fs::file_time_type modified;
};

std::vector<CacheFile> cacheFiles(const QString& directory, const fs::path& extension) {
    std::vector<CacheFile> files;
    std::error_code error;
    for (fs::directory_iterator it(nativePath(directory), error), end; !error && it != end; it.increment(error)) {
        if (it->path().extension() != extension || !it->is_regular_file()) {
            continue;
        }
        std::error_code sizeError, dateError;
        const std::uintmax_t size = it->file_size(sizeError);
        const fs::file_time_type modified = it->last_write_time(dateError);
        if (!sizeError && !dateError) {
            files.push_back({it->path(), size, modified});
        }
    }
    return files;
}

}  // namespace

void evictOldest(const QString& directory, const QString& extension, std::uintmax_t budget, const QString& keep) {
    std::vector<CacheFile> files = cacheFiles(directory, nativePath(QLatin1Char('.') + extension));
    std::stable_sort(files.begin(), files.end(),
                     [](const CacheFile& a, const CacheFile& b) { return a.modified < b.modified; });
    std::uintmax_t total = 0;
    for (const CacheFile& file : files) {
        total += file.size;
    }
    const fs::path kept = keep.isEmpty() ? fs::path() : nativePath(keep).lexically_normal();
    for (const CacheFile& file : files) {
        if (total <= budget) {
            break;
        }
        if (file.path.lexically_normal() == kept) {
            continue;
        }
        std::error_code error;
        if (fs::remove(file.path, error)) {
            total -= file.size;
        } else if (error) {
            qCDebug(cacheLog) << "cannot evict" << file.path.c_str() << ":" << error.message().c_str();
        }
    }
}

}  // namespace kelvara
