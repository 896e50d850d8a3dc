// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <cstdint>

namespace kelvara {

// Keeps the files of one kind in a cache folder within a size budget: while their total is
// above `budget` bytes, the oldest by modification date (listing order among equal dates) are
// deleted, except `keep`. Other files and folders are neither counted nor touched; a listing,
// attribute or deletion failure is logged and skipped.
void evictOldest(const QString& directory, const QString& extension, std::uintmax_t budget,
                 const QString& keep = {});

}  // namespace kelvara
