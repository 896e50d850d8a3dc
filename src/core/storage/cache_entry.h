// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "models/waveform.h"
#include "storage/file_identity.h"

#include <QByteArray>
#include <QByteArrayView>

#include <optional>

namespace kelvara {

// The content of one cache file: a binary property list {"identity": {"path", "size",
// "modified", "created", "inode", "schema"}, "waveform": {…}} with every key required.
struct CacheEntry {
    FileIdentity identity;
    Waveform waveform;

    QByteArray encode() const;
    // None for anything that is not a whole entry of the right types; validity is the
    // reader's to check.
    static std::optional<CacheEntry> decode(QByteArrayView bytes);
};

}  // namespace kelvara
