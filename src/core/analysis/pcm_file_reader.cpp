// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/pcm_file_reader.h"

#include "i18n/l.h"
#include "models/waveform_error.h"

#include <algorithm>
#include <bit>
#include <cerrno>
#include <cstring>
#include <vector>

#include <unistd.h>

namespace kelvara {

namespace {

using Encoding = PcmLayout::Encoding;

template <typename Unsigned, bool bigEndian>
Unsigned wordAt(const unsigned char* at) {
    Unsigned value;
    std::memcpy(&value, at, sizeof value);
    if constexpr (bigEndian != (std::endian::native == std::endian::big)) {
        if constexpr (sizeof value == 2) {
            value = __builtin_bswap16(value);
        } else if constexpr (sizeof value == 4) {
            value = __builtin_bswap32(value);
        } else {
            value = __builtin_bswap64(value);
        }
    }
    return value;
}

template <bool bigEndian>
std::uint32_t threeBytesAt(const unsigned char* at) {
    return bigEndian ? (std::uint32_t{at[0]} << 16) | (std::uint32_t{at[1]} << 8) | at[2]
                     : (std::uint32_t{at[2]} << 16) | (std::uint32_t{at[1]} << 8) | at[0];
}

// One sample as float, the way FFmpeg gets there: 8-bit and 16-bit integers scaled by
// 2^-7 and 2^-15, 24-bit ones widened to 32 bits (shifted left by 8), 32-bit ones rounded to
// float and scaled by 2^-31, doubles rounded to float.
template <Encoding encoding, bool bigEndian>
float sampleAt(const unsigned char* at) {
    if constexpr (encoding == Encoding::unsigned8) {
        return static_cast<float>(at[0] - 0x80) * (1.0f / (1 << 7));
    } else if constexpr (encoding == Encoding::signed8) {
        return static_cast<float>(static_cast<std::int8_t>(at[0])) * (1.0f / (1 << 7));
    } else if constexpr (encoding == Encoding::signed16) {
        return static_cast<float>(static_cast<std::int16_t>(wordAt<std::uint16_t, bigEndian>(at))) * (1.0f / (1 << 15));
    } else if constexpr (encoding == Encoding::signed24) {
        return static_cast<float>(static_cast<std::int32_t>(threeBytesAt<bigEndian>(at) << 8)) * (1.0f / (1U << 31));
    } else if constexpr (encoding == Encoding::signed32) {
        return static_cast<float>(static_cast<std::int32_t>(wordAt<std::uint32_t, bigEndian>(at))) * (1.0f / (1U << 31));
    } else if constexpr (encoding == Encoding::float32) {
        return std::bit_cast<float>(wordAt<std::uint32_t, bigEndian>(at));
    } else {
        return static_cast<float>(std::bit_cast<double>(wordAt<std::uint64_t, bigEndian>(at)));
    }
}

// Spreads interleaved frames over the block's channel buffers. Mono and stereo get loops of
// their own, whose fixed stride the compiler turns into vector code.
template <Encoding encoding, bool bigEndian, int fixedChannels>
void deinterleave(const unsigned char* frames, std::int64_t count, int anyChannels, AudioBlock& block) {
    const int channels = fixedChannels > 0 ? fixedChannels : anyChannels;
    const int frameBytes = PcmLayout::bytesOf(encoding) * channels;
    for (int c = 0; c < channels; ++c) {
        float* out = block.freeSpace(c).data();
        const unsigned char* in = frames + c * PcmLayout::bytesOf(encoding);
        for (std::int64_t i = 0; i < count; ++i) {
            out[i] = sampleAt<encoding, bigEndian>(in + i * frameBytes);
        }
    }
}

// Stereo 16-bit little-endian, the commonest WAV, twice as fast again: on a little-endian
// processor each frame is read as one 32-bit word whose halves part by shifts, which vectorise
// better than a stride of two.
void deinterleaveStereo16(const unsigned char* frames, std::int64_t count, AudioBlock& block) {
    float* left = block.freeSpace(0).data();
    float* right = block.freeSpace(1).data();
    for (std::int64_t i = 0; i < count; ++i) {
        std::uint32_t frame;
        std::memcpy(&frame, frames + i * 4, sizeof frame);
        left[i] = static_cast<float>(static_cast<std::int32_t>(frame << 16) >> 16) * (1.0f / (1 << 15));
        right[i] = static_cast<float>(static_cast<std::int32_t>(frame) >> 16) * (1.0f / (1 << 15));
    }
}

template <Encoding encoding, bool bigEndian>
void deinterleave(const unsigned char* frames, std::int64_t count, int channels, AudioBlock& block) {
    constexpr bool littleEndian16 =
        encoding == Encoding::signed16 && !bigEndian && std::endian::native == std::endian::little;
    switch (channels) {
    case 1: return deinterleave<encoding, bigEndian, 1>(frames, count, channels, block);
    case 2:
        if constexpr (littleEndian16) {
            return deinterleaveStereo16(frames, count, block);
        }
        return deinterleave<encoding, bigEndian, 2>(frames, count, channels, block);
    default: return deinterleave<encoding, bigEndian, 0>(frames, count, channels, block);
    }
}

template <bool bigEndian>
void convert(const unsigned char* frames, std::int64_t count, const PcmLayout& layout, AudioBlock& block) {
    const int channels = layout.channels;
    switch (layout.encoding) {
    case Encoding::unsigned8: return deinterleave<Encoding::unsigned8, bigEndian>(frames, count, channels, block);
    case Encoding::signed8: return deinterleave<Encoding::signed8, bigEndian>(frames, count, channels, block);
    case Encoding::signed16: return deinterleave<Encoding::signed16, bigEndian>(frames, count, channels, block);
    case Encoding::signed24: return deinterleave<Encoding::signed24, bigEndian>(frames, count, channels, block);
    case Encoding::signed32: return deinterleave<Encoding::signed32, bigEndian>(frames, count, channels, block);
    case Encoding::float32: return deinterleave<Encoding::float32, bigEndian>(frames, count, channels, block);
    case Encoding::float64: return deinterleave<Encoding::float64, bigEndian>(frames, count, channels, block);
    }
}

bool readFully(int handle, unsigned char* buffer, std::size_t size, std::int64_t offset) {
    while (size > 0) {
        const ssize_t got = ::pread(handle, buffer, size, static_cast<off_t>(offset));
        if (got <= 0 && !(got < 0 && errno == EINTR)) {
            return false;
        }
        if (got > 0) {
            buffer += got;
            size -= static_cast<std::size_t>(got);
            offset += got;
        }
    }
    return true;
}

}  // namespace

std::unique_ptr<PcmFileReader> PcmFileReader::open(const QString& path) {
    auto file = std::make_unique<RegularFile>(path);
    const std::optional<PcmLayout> layout = PcmLayout::of(*file);
    if (!layout) {
        return nullptr;
    }
    return std::unique_ptr<PcmFileReader>(new PcmFileReader(std::move(file), *layout));
}

PcmFileReader::PcmFileReader(std::unique_ptr<RegularFile> file, const PcmLayout& layout)
    : file_(std::move(file)), layout_(layout) {
    format_.sampleRate = layout.sampleRate;
    format_.channels = layout.channels;
    format_.declaredFrames = layout.frames;
}

std::int64_t PcmFileReader::decode(AudioBlockSink& sink, std::int64_t firstFrame) const {
    AudioBlock block(layout_.channels, AudioFormat::blockFrames);
    std::vector<unsigned char> bytes(static_cast<std::size_t>(AudioFormat::blockFrames * layout_.frameBytes()));
    std::int64_t frame = std::clamp<std::int64_t>(firstFrame, 0, layout_.frames);
    while (frame < layout_.frames) {
        const std::int64_t count = std::min(AudioFormat::blockFrames, layout_.frames - frame);
        if (!readFully(file_->handle(), bytes.data(), static_cast<std::size_t>(count * layout_.frameBytes()),
                       layout_.dataOffset + frame * layout_.frameBytes())) {
            throw WaveformError::unavailable(L("Аудиофайл прочитан не полностью; результат не сохранён."));
        }
        block.restart(frame);
        (layout_.bigEndian ? convert<true> : convert<false>)(bytes.data(), count, layout_, block);
        block.grow(count);
        frame += count;
        if (!sink.consume(block)) {
            break;
        }
    }
    return frame - firstFrame;
}

}  // namespace kelvara
