// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <string_view>

namespace kelvara {

// Looks for the signs of a cut file that FFmpeg hides: it derives a WAV's length from the
// bytes present rather than from its header, and an Ogg stream's from its last granule.
// Containers whose cut shows as missing frames (FLAC, MP4, AIFF) need no look here.
class TruncationCheck {
public:
    // `demuxer` is FFmpeg's name of the file's container ("wav", "ogg" …).
    static bool cutShort(const QString& path, std::string_view demuxer);

    // A RIFF WAV whose "data" chunk declares more bytes than the file holds. Files written
    // to a pipe declare no size (0 or 0xFFFFFFFF) and pass.
    static bool wavCutShort(const QString& path);

    // An Ogg file whose last complete page does not carry the end-of-stream flag.
    static bool oggCutShort(const QString& path);
};

}  // namespace kelvara
