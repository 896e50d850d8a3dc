// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/truncation_check.h"

#include "storage/regular_file.h"

#include <QFile>

#include <algorithm>
#include <array>
#include <cstdint>

namespace kelvara {

namespace {

std::uint32_t littleEndian32(const char* bytes) {
    std::uint32_t value = 0;
    for (int i = 3; i >= 0; --i) {
        value = (value << 8) | static_cast<unsigned char>(bytes[i]);
    }
    return value;
}

// The CRC of Ogg pages: polynomial 0x04C11DB7, not reflected, starting at 0.
const std::array<std::uint32_t, 256>& oggCrcTable() {
    static const auto table = [] {
        std::array<std::uint32_t, 256> entries{};
        for (std::uint32_t i = 0; i < 256; ++i) {
            std::uint32_t r = i << 24;
            for (int bit = 0; bit < 8; ++bit) {
                r = (r & 0x80000000u) ? (r << 1) ^ 0x04C11DB7u : r << 1;
            }
            entries[i] = r;
        }
        return entries;
    }();
    return table;
}

constexpr qsizetype oggHeaderSize = 27;
constexpr qsizetype oggCrcOffset = 22;
constexpr char oggEndOfStream = 0x04;

// The length of the intact page starting at `start`, or 0 when there is none: a capture
// pattern inside packet data, or a page the file ends in the middle of.
qsizetype oggPageLength(const QByteArray& bytes, qsizetype start) {
    const qsizetype available = bytes.size() - start;
    if (available < oggHeaderSize || bytes[start + 4] != 0) {
        return 0;
    }
    const auto segments = static_cast<unsigned char>(bytes[start + oggHeaderSize - 1]);
    if (available < oggHeaderSize + segments) {
        return 0;
    }
    qsizetype length = oggHeaderSize + segments;
    for (int i = 0; i < segments; ++i) {
        length += static_cast<unsigned char>(bytes[start + oggHeaderSize + i]);
    }
    if (length > available) {
        return 0;
    }
    const auto& table = oggCrcTable();
    std::uint32_t crc = 0;
    for (qsizetype i = 0; i < length; ++i) {
        const bool inCrcField = i >= oggCrcOffset && i < oggCrcOffset + 4;
        const auto byte = inCrcField ? 0u : static_cast<unsigned char>(bytes[start + i]);
        crc = (crc << 8) ^ table[((crc >> 24) & 0xFFu) ^ byte];
    }
    return crc == littleEndian32(bytes.constData() + start + oggCrcOffset) ? length : 0;
}

}  // namespace

bool TruncationCheck::cutShort(const QString& path, std::string_view demuxer) {
    if (demuxer == "wav") {
        return wavCutShort(path);
    }
    if (demuxer == "ogg") {
        return oggCutShort(path);
    }
    return false;
}

bool TruncationCheck::wavCutShort(const QString& path) {
    QFile file(path);
    if (!RegularFile::open(file)) {
        return false;
    }
    const qint64 fileSize = file.size();
    const QByteArray riff = file.read(12);
    if (riff.size() < 12 || !riff.startsWith("RIFF") || riff.mid(8, 4) != "WAVE") {
        return false;
    }
    qint64 offset = 12;
    while (offset + 8 <= fileSize && file.seek(offset)) {
        const QByteArray header = file.read(8);
        if (header.size() < 8) {
            return false;
        }
        const std::uint32_t size = littleEndian32(header.constData() + 4);
        if (header.startsWith("data")) {
            const bool sizeUnknown = size == 0 || size == 0xFFFFFFFFu;
            return !sizeUnknown && offset + 8 + static_cast<qint64>(size) > fileSize;
        }
        offset += 8 + static_cast<qint64>(size) + (size & 1u);
    }
    return false;
}

bool TruncationCheck::oggCutShort(const QString& path) {
    // Twice the largest possible page, so the last whole page always lies inside.
    constexpr qint64 tailBytes = 2 * 65'536;
    QFile file(path);
    if (!RegularFile::open(file)) {
        return false;
    }
    const qint64 start = std::max<qint64>(0, file.size() - tailBytes);
    if (!file.seek(start)) {
        return false;
    }
    const QByteArray tail = file.readAll();
    for (qsizetype at = tail.lastIndexOf("OggS"); at >= 0; at = at > 0 ? tail.lastIndexOf("OggS", at - 1) : -1) {
        if (oggPageLength(tail, at) > 0) {
            return (tail[at + 5] & oggEndOfStream) == 0;
        }
    }
    return true;
}

}  // namespace kelvara
