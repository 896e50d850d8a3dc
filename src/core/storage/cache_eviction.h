// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <cstdint>
#include <filesystem>
#include <functional>
#include <vector>

namespace kelvara {

struct CachedFile {
    std::filesystem::path path;
    std::uintmax_t size;
    std::filesystem::file_time_type modified;
};

// The regular files in a cache folder whose path `belongs`; a listing or attribute failure
// leaves the file out.
std::vector<CachedFile> cachedFiles(const QString& directory,
                                    const std::function<bool(const std::filesystem::path&)>& belongs);

// Keeps `files` within a size budget: while their total is above `budget` bytes, the oldest by
// modification date (listing order among equal dates) that are `evictable` are deleted; the
// others count but stay. A deletion failure is logged and skipped.
void evictOldest(std::vector<CachedFile> files, std::uintmax_t budget,
                 const std::function<bool(const CachedFile&)>& evictable);

// The same for the files with one extension in `directory`, all evictable except `keep`. Other
// files and folders are neither counted nor touched.
void evictOldest(const QString& directory, const QString& extension, std::uintmax_t budget,
                 const QString& keep = {});

}  // namespace kelvara
