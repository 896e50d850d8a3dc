// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "models/waveform.h"
#include "storage/file_identity.h"

#include <QString>

#include <optional>

namespace kelvara {

// What one analysis of a track's file came to.
struct AnalysisOutcome {
    enum class Kind { ready, failed, cancelled };

    Kind kind = Kind::cancelled;
    std::optional<Waveform> waveform;      // ready only
    std::optional<FileIdentity> identity;  // of the analysed file; when failed, of the file now
    bool cached = false;                   // ready: read from the cache rather than analysed
    std::optional<QString> error;          // failed: why; ready: why the cache was not written

    // The status line the window shows for it (the window always uses the cache).
    QString message() const;
};

}  // namespace kelvara
