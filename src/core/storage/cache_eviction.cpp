// SPDX-License-Identifier: GPL-3.0-or-later
#include "storage/cache_eviction.h"

#include "logging/log_categories.h"

#include <QFile>

#include <algorithm>
#include <system_error>

namespace kelvara {

namespace {

namespace fs = std::filesystem;

fs::path nativePath(const QString& path) { return QFile::encodeName(path).toStdString(); }

}  // namespace

std::vector<CachedFile> cachedFiles(const QString& directory, const std::function<bool(const fs::path&)>& belongs) {
    std::vector<CachedFile> files;
    std::error_code error;
    for (fs::directory_iterator it(nativePath(directory), error), end; !error && it != end; it.increment(error)) {
        std::error_code typeError, sizeError, dateError;
        if (!belongs(it->path()) || !it->is_regular_file(typeError)) {
            continue;
        }
        const std::uintmax_t size = it->file_size(sizeError);
        const fs::file_time_type modified = it->last_write_time(dateError);
        if (!sizeError && !dateError) {
            files.push_back({it->path(), size, modified});
        }
    }
    return files;
}

void evictOldest(std::vector<CachedFile> files, std::uintmax_t budget,
                 const std::function<bool(const CachedFile&)>& evictable) {
    std::stable_sort(files.begin(), files.end(),
                     [](const CachedFile& a, const CachedFile& b) { return a.modified < b.modified; });
    std::uintmax_t total = 0;
    for (const CachedFile& file : files) {
        total += file.size;
    }
    for (const CachedFile& file : files) {
        if (total <= budget) {
            break;
        }
        if (!evictable(file)) {
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

void evictOldest(const QString& directory, const QString& extension, std::uintmax_t budget, const QString& keep) {
    const fs::path wanted = nativePath(QLatin1Char('.') + extension);
    const fs::path kept = keep.isEmpty() ? fs::path() : nativePath(keep).lexically_normal();
    evictOldest(cachedFiles(directory, [&wanted](const fs::path& path) { return path.extension() == wanted; }), budget,
                [&kept](const CachedFile& file) { return file.path.lexically_normal() != kept; });
}

}  // namespace kelvara
