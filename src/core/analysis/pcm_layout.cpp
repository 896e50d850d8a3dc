// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/pcm_layout.h"

#include "analysis/audio_format.h"
#include "storage/regular_file.h"

#include <array>
#include <cstring>
#include <string_view>

#include <unistd.h>

namespace kelvara {

namespace {

using Encoding = PcmLayout::Encoding;

// A header scan stops here: no real file has more chunks before its samples.
constexpr int mostChunks = 256;

template <std::size_t size>
using Bytes = std::array<unsigned char, size>;

template <std::size_t size>
bool readAt(const RegularFile& file, std::int64_t offset, Bytes<size>& bytes) {
    return ::pread(file.handle(), bytes.data(), size, static_cast<off_t>(offset)) == static_cast<ssize_t>(size);
}

std::uint64_t littleEndian(const unsigned char* bytes, int count) {
    std::uint64_t value = 0;
    for (int i = count - 1; i >= 0; --i) {
        value = (value << 8) | bytes[i];
    }
    return value;
}

std::uint64_t bigEndian(const unsigned char* bytes, int count) {
    std::uint64_t value = 0;
    for (int i = 0; i < count; ++i) {
        value = (value << 8) | bytes[i];
    }
    return value;
}

bool tagIs(const unsigned char* bytes, std::string_view tag) { return std::memcmp(bytes, tag.data(), 4) == 0; }

// A chunk's header: its four-letter tag, the size of its body and where the body starts.
struct Chunk {
    Bytes<8> header{};
    std::int64_t body = 0;
    std::int64_t size = 0;

    bool is(std::string_view tag) const { return tagIs(header.data(), tag); }
    // Bodies of odd size are followed by a pad byte in both formats.
    std::int64_t next() const { return body + size + (size & 1); }
};

// Calls `visit` with each chunk after the 12-byte form header, in file order, until it
// returns false or the chunks run out; false when they ran out or were damaged first.
template <typename Visit>
bool forEachChunk(const RegularFile& file, bool bigEndianSizes, Visit visit) {
    const std::int64_t fileSize = file.size();
    std::int64_t at = 12;
    for (int count = 0; count < mostChunks && at + 8 <= fileSize; ++count) {
        Chunk chunk;
        if (!readAt(file, at, chunk.header)) {
            return false;
        }
        chunk.body = at + 8;
        chunk.size = static_cast<std::int64_t>(bigEndianSizes ? bigEndian(&chunk.header[4], 4)
                                                              : littleEndian(&chunk.header[4], 4));
        if (!visit(chunk)) {
            return true;
        }
        at = chunk.next();
    }
    return false;
}

// The layout is usable when the format is plausible and the file holds every declared
// frame, and no more: a longer data chunk would read differently through FFmpeg.
std::optional<PcmLayout> whole(const PcmLayout& layout, std::int64_t dataBytes, std::int64_t fileSize) {
    const AudioFormat format{layout.sampleRate, layout.channels};
    if (!format.plausible() || layout.frames < 1 || dataBytes != layout.frames * layout.frameBytes() ||
        layout.dataOffset + dataBytes > fileSize) {
        return std::nullopt;
    }
    return layout;
}

// WAVE_FORMAT_EXTENSIBLE names the real format by a GUID: its tag, then this fixed tail.
constexpr Bytes<14> extensibleGuidTail = {0x00, 0x00, 0x00, 0x00, 0x10, 0x00, 0x80, 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71};
constexpr unsigned wavePcm = 1;
constexpr unsigned waveFloat = 3;
constexpr unsigned waveExtensible = 0xFFFE;

std::optional<Encoding> waveEncoding(unsigned tag, unsigned bits) {
    if (tag == wavePcm) {
        switch (bits) {
        case 8: return Encoding::unsigned8;
        case 16: return Encoding::signed16;
        case 24: return Encoding::signed24;
        case 32: return Encoding::signed32;
        default: return std::nullopt;
        }
    }
    if (tag == waveFloat) {
        return bits == 32 ? std::optional(Encoding::float32) : bits == 64 ? std::optional(Encoding::float64) : std::nullopt;
    }
    return std::nullopt;
}

// The "fmt " chunk: tag, channels, rate, bytes per second, block size, bits per sample, and
// for the extensible form the valid bits and the GUID of the real tag.
bool readWaveFormat(const RegularFile& file, const Chunk& chunk, PcmLayout& layout) {
    Bytes<40> fmt{};
    const bool extensible = chunk.size >= 40 && readAt(file, chunk.body, fmt) && littleEndian(&fmt[0], 2) == waveExtensible;
    Bytes<16> plain{};
    if (!extensible && (chunk.size < 16 || !readAt(file, chunk.body, plain))) {
        return false;
    }
    const unsigned char* f = extensible ? fmt.data() : plain.data();
    auto tag = static_cast<unsigned>(littleEndian(&f[0], 2));
    const auto bits = static_cast<unsigned>(littleEndian(&f[14], 2));
    if (extensible) {
        const auto validBits = static_cast<unsigned>(littleEndian(&fmt[18], 2));
        if ((validBits != 0 && validBits != bits) || std::memcmp(&fmt[26], extensibleGuidTail.data(), 14) != 0) {
            return false;
        }
        tag = static_cast<unsigned>(littleEndian(&fmt[24], 2));
    }
    const std::optional<Encoding> encoding = waveEncoding(tag, bits);
    if (!encoding) {
        return false;
    }
    layout.encoding = *encoding;
    layout.channels = static_cast<int>(littleEndian(&f[2], 2));
    layout.sampleRate = static_cast<int>(std::min<std::uint64_t>(littleEndian(&f[4], 4), 1u << 30));
    return littleEndian(&f[12], 2) == static_cast<std::uint64_t>(layout.frameBytes());
}

// RIFF WAVE: "fmt " before "data"; RF64, big-endian RIFX and streamed files are FFmpeg's.
std::optional<PcmLayout> waveLayout(const RegularFile& file) {
    PcmLayout layout;
    bool haveFormat = false;
    std::int64_t dataBytes = -1;
    const bool found = forEachChunk(file, false, [&](const Chunk& chunk) {
        if (chunk.is("fmt ")) {
            haveFormat = readWaveFormat(file, chunk, layout);
            return haveFormat;
        }
        if (chunk.is("data")) {
            dataBytes = chunk.size;
            layout.dataOffset = chunk.body;
            return false;
        }
        return true;
    });
    if (!found || !haveFormat || dataBytes <= 0 || dataBytes == 0xFFFFFFFF) {
        return std::nullopt;
    }
    layout.frames = dataBytes / layout.frameBytes();
    return whole(layout, dataBytes, file.size());
}

// An 80-bit extended float, as AIFF stores its rate; none unless it is a whole number.
std::optional<int> extendedRate(const unsigned char* bytes) {
    const auto exponent = static_cast<int>(bigEndian(bytes, 2));  // the sign bit makes it fail
    const std::uint64_t mantissa = bigEndian(bytes + 2, 8);
    const int shift = 16'383 + 63 - exponent;
    if (shift < 1 || shift > 63 || (mantissa & ((std::uint64_t{1} << shift) - 1)) != 0) {
        return std::nullopt;
    }
    const std::uint64_t rate = mantissa >> shift;
    return rate <= static_cast<std::uint64_t>(AudioFormat::highestSampleRate) ? std::optional(static_cast<int>(rate))
                                                                             : std::nullopt;
}

std::optional<Encoding> aiffEncoding(const unsigned char* compression, unsigned bits, bool& bigEndianSamples) {
    bigEndianSamples = true;
    if (!compression || tagIs(compression, "NONE")) {
        switch (bits) {
        case 8: return Encoding::signed8;
        case 16: return Encoding::signed16;
        case 24: return Encoding::signed24;
        case 32: return Encoding::signed32;
        default: return std::nullopt;
        }
    }
    if (tagIs(compression, "sowt") && bits == 16) {
        bigEndianSamples = false;
        return Encoding::signed16;
    }
    if (tagIs(compression, "fl32") || tagIs(compression, "FL32")) {
        return Encoding::float32;
    }
    if (tagIs(compression, "fl64") || tagIs(compression, "FL64")) {
        return Encoding::float64;
    }
    return std::nullopt;
}

// "COMM": channels, frames, bits per sample, the rate as an extended float and, in AIFC,
// the compression tag.
bool readAiffCommon(const RegularFile& file, const Chunk& chunk, bool compressed, PcmLayout& layout) {
    Bytes<22> comm{};
    if (chunk.size < (compressed ? 22 : 18) || !readAt(file, chunk.body, comm)) {
        return false;
    }
    const std::optional<int> rate = extendedRate(&comm[8]);
    const std::optional<Encoding> encoding =
        aiffEncoding(compressed ? &comm[18] : nullptr, static_cast<unsigned>(bigEndian(&comm[6], 2)), layout.bigEndian);
    if (!rate || !encoding) {
        return false;
    }
    layout.sampleRate = *rate;
    layout.encoding = *encoding;
    layout.channels = static_cast<int>(bigEndian(&comm[0], 2));
    layout.frames = static_cast<std::int64_t>(bigEndian(&comm[2], 4));
    return true;
}

// FORM AIFF or AIFC: "COMM" and "SSND" in either order.
std::optional<PcmLayout> aiffLayout(const RegularFile& file, bool compressed) {
    PcmLayout layout;
    bool haveCommon = false;
    std::int64_t dataBytes = -1;
    forEachChunk(file, true, [&](const Chunk& chunk) {
        if (chunk.is("COMM")) {
            haveCommon = readAiffCommon(file, chunk, compressed, layout);
            if (!haveCommon) {
                return false;
            }
        } else if (chunk.is("SSND")) {
            Bytes<8> offsets{};  // where the samples start in the chunk, and a block size
            if (chunk.size < 8 || !readAt(file, chunk.body, offsets)) {
                return false;
            }
            const auto skipped = static_cast<std::int64_t>(bigEndian(&offsets[0], 4));
            layout.dataOffset = chunk.body + 8 + skipped;
            dataBytes = chunk.size - 8 - skipped;
        }
        return !(haveCommon && dataBytes >= 0);
    });
    if (!haveCommon || dataBytes <= 0) {
        return std::nullopt;
    }
    return whole(layout, dataBytes, file.size());
}

}  // namespace

std::optional<PcmLayout> PcmLayout::of(const RegularFile& file) {
    Bytes<12> form{};
    if (!readAt(file, 0, form)) {
        return std::nullopt;
    }
    if (tagIs(&form[0], "RIFF") && tagIs(&form[8], "WAVE")) {
        return waveLayout(file);
    }
    if (tagIs(&form[0], "FORM") && (tagIs(&form[8], "AIFF") || tagIs(&form[8], "AIFC"))) {
        return aiffLayout(file, tagIs(&form[8], "AIFC"));
    }
    return std::nullopt;
}

}  // namespace kelvara
