// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "analysis/tempo_analyzer.h"
#include "models/waveform.h"
#include "storage/file_identity.h"
#include "storage/plist_value.h"

#include <QByteArray>
#include <QByteArrayView>

#include <cstdint>
#include <optional>

namespace kelvara {

// The content of one cache file: a binary property list {"identity": {"path", "size",
// "modified", "created", "inode", "schema"}, "waveform": {…}, "tempoAnalyzerVersion": n,
// "digest": "<SHA-256 of the rest>"}. A file whose digest is missing or does not match what
// it holds is damaged and reads as none; a file without "tempoAnalyzerVersion" reads as
// version 1.
struct CacheEntry {
    FileIdentity identity;
    Waveform waveform;
    std::int64_t tempoAnalyzerVersion = TempoAnalyzer::version;  // of the waveform's grid

    QByteArray encode() const;
    // None for anything that is not a whole entry of the right types; validity is the
    // reader's to check.
    static std::optional<CacheEntry> decode(QByteArrayView bytes);

private:
    PlistValue content() const;
    QString digest() const;
};

}  // namespace kelvara
