// SPDX-License-Identifier: GPL-3.0-or-later
#include "storage/binary_plist.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>
#include <limits>
#include <utility>
#include <vector>

namespace kelvara {

namespace {

constexpr char magic[] = "bplist00";
constexpr qsizetype magicSize = 8;
constexpr qsizetype trailerSize = 32;

enum Marker : std::uint8_t {
    integerMarker = 0x10,
    realMarker = 0x20,
    asciiMarker = 0x50,
    utf16Marker = 0x60,
    arrayMarker = 0xA0,
    dictMarker = 0xD0,
};
constexpr std::uint8_t float32Size = 2;  // 2^2 bytes
constexpr std::uint8_t float64Size = 3;  // 2^3 bytes
constexpr std::uint8_t countFollows = 0x0F;

int bytesFor(std::uint64_t value) {
    int bytes = 1;
    while (bytes < 8 && (value >> (8 * bytes)) != 0) {
        ++bytes;
    }
    return bytes;
}

void appendBigEndian(QByteArray& out, std::uint64_t value, int bytes) {
    for (int i = bytes - 1; i >= 0; --i) {
        out.append(static_cast<char>((value >> (8 * i)) & 0xFFu));
    }
}

// Objects are written children first, so a container knows its children's numbers.
class Writer {
public:
    explicit Writer(const PlistValue& root) : objects_(objectCount(root)), refSize_(bytesFor(objects_ - 1)) {
        // Most objects are 4-byte reals: a marker, the value, a reference and an offset.
        out_.reserve(static_cast<qsizetype>(objects_ * 12 + 64));
        offsets_.reserve(objects_);
        out_.append(magic, magicSize);
        top_ = write(root);
    }

    QByteArray finish() && {
        const auto tableOffset = static_cast<std::uint64_t>(out_.size());
        const int offsetSize = bytesFor(tableOffset);
        for (const std::uint64_t offset : offsets_) {
            appendBigEndian(out_, offset, offsetSize);
        }
        out_.append(6, '\0');
        out_.append(static_cast<char>(offsetSize));
        out_.append(static_cast<char>(refSize_));
        appendBigEndian(out_, offsets_.size(), 8);
        appendBigEndian(out_, top_, 8);
        appendBigEndian(out_, tableOffset, 8);
        return std::move(out_);
    }

private:
    static std::uint64_t objectCount(const PlistValue& value) {
        if (const auto* numbers = value.toNumbers()) {
            return 1 + numbers->size();
        }
        std::uint64_t count = 1;
        if (const auto* entries = value.toEntries()) {
            for (const PlistEntry& entry : *entries) {
                count += 1 + objectCount(entry.value);
            }
        }
        return count;
    }

    std::uint64_t begin() {
        offsets_.push_back(static_cast<std::uint64_t>(out_.size()));
        return offsets_.size() - 1;
    }

    void appendMarker(std::uint8_t marker, std::uint64_t count) {
        if (count < countFollows) {
            out_.append(static_cast<char>(marker | count));
            return;
        }
        out_.append(static_cast<char>(marker | countFollows));
        appendInteger(static_cast<std::int64_t>(count));
    }

    void appendInteger(std::int64_t value) {
        const int bytes = value < 0 ? 8 : bytesFor(static_cast<std::uint64_t>(value));
        const int power = bytes == 1 ? 0 : bytes == 2 ? 1 : bytes <= 4 ? 2 : 3;
        out_.append(static_cast<char>(integerMarker | power));
        appendBigEndian(out_, static_cast<std::uint64_t>(value), 1 << power);
    }

    void appendReal(double value) {
        const auto single = static_cast<float>(value);
        if (static_cast<double>(single) == value) {
            out_.append(static_cast<char>(realMarker | float32Size));
            appendBigEndian(out_, std::bit_cast<std::uint32_t>(single), 4);
        } else {
            out_.append(static_cast<char>(realMarker | float64Size));
            appendBigEndian(out_, std::bit_cast<std::uint64_t>(value), 8);
        }
    }

    void appendText(const QString& text) {
        const bool ascii = std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() < 0x80; });
        if (ascii) {
            appendMarker(asciiMarker, static_cast<std::uint64_t>(text.size()));
            out_.append(text.toLatin1());
            return;
        }
        appendMarker(utf16Marker, static_cast<std::uint64_t>(text.size()));
        for (const QChar c : text) {
            appendBigEndian(out_, c.unicode(), 2);
        }
    }

    // A dictionary's count is its number of keys, followed by the key and then the value
    // references.
    void appendRefs(std::uint8_t marker, std::uint64_t count, const std::vector<std::uint64_t>& refs) {
        appendMarker(marker, count);
        for (const std::uint64_t ref : refs) {
            appendBigEndian(out_, ref, refSize_);
        }
    }

    std::uint64_t writeText(const QString& text) {
        const std::uint64_t id = begin();
        appendText(text);
        return id;
    }

    std::uint64_t write(const PlistValue& value) {
        if (const auto* numbers = value.toNumbers()) {
            std::vector<std::uint64_t> refs;
            refs.reserve(numbers->size());
            for (const double number : *numbers) {
                refs.push_back(begin());
                appendReal(number);
            }
            const std::uint64_t id = begin();
            appendRefs(arrayMarker, refs.size(), refs);
            return id;
        }
        if (const auto* entries = value.toEntries()) {
            std::vector<std::uint64_t> refs(2 * entries->size());
            for (std::size_t i = 0; i < entries->size(); ++i) {
                refs[i] = writeText((*entries)[i].key);
                refs[entries->size() + i] = write((*entries)[i].value);
            }
            const std::uint64_t id = begin();
            appendRefs(dictMarker, entries->size(), refs);
            return id;
        }
        const std::uint64_t id = begin();
        if (const auto integer = value.toInteger()) {
            appendInteger(*integer);
        } else if (const auto text = value.toText()) {
            appendText(*text);
        } else {
            appendReal(value.toNumber().value_or(0));
        }
        return id;
    }

    std::uint64_t objects_;
    int refSize_;
    QByteArray out_;
    std::vector<std::uint64_t> offsets_;
    std::uint64_t top_ = 0;
};

// Every read is bounds-checked: a damaged or hostile file yields none, never a crash. The work
// stays linear in the file's size however its references are crafted: each container is
// decoded once (a second reference to it, a cycle included, rejects the file), and the
// elements and characters decoded in all may not outnumber the file's bytes.
class Reader {
public:
    explicit Reader(QByteArrayView bytes) : bytes_(bytes), budget_(static_cast<std::uint64_t>(bytes.size())) {}

    std::optional<PlistValue> read() {
        if (bytes_.size() < magicSize + trailerSize || std::memcmp(bytes_.data(), magic, magicSize) != 0) {
            return std::nullopt;
        }
        const qsizetype trailer = bytes_.size() - trailerSize;
        offsetSize_ = static_cast<int>(byteAt(trailer + 6));
        refSize_ = static_cast<int>(byteAt(trailer + 7));
        objects_ = bigEndian(trailer + 8, 8);
        const std::uint64_t top = bigEndian(trailer + 16, 8);
        tableOffset_ = bigEndian(trailer + 24, 8);
        const bool sane = offsetSize_ >= 1 && offsetSize_ <= 8 && refSize_ >= 1 && refSize_ <= 8 &&
                          top < objects_ && tableOffset_ >= magicSize &&
                          tableOffset_ <= static_cast<std::uint64_t>(trailer) &&
                          objects_ <= (static_cast<std::uint64_t>(trailer) - tableOffset_) /
                                          static_cast<std::uint64_t>(offsetSize_);
        if (!sane) {
            return std::nullopt;
        }
        decodedContainers_.assign(objects_, false);
        return object(top, 0);
    }

private:
    static constexpr int deepest = 8;  // our records nest two levels; this also stops cycles

    std::uint8_t byteAt(qsizetype at) const { return static_cast<std::uint8_t>(bytes_[at]); }

    std::uint64_t bigEndian(qsizetype at, int bytes) const {
        std::uint64_t value = 0;
        for (int i = 0; i < bytes; ++i) {
            value = (value << 8) | byteAt(at + i);
        }
        return value;
    }

    // Takes `n` elements from the budget; false once it is spent.
    bool spend(std::uint64_t n) {
        if (n > budget_) {
            return false;
        }
        budget_ -= n;
        return true;
    }

    // Whether [at, at + size) lies in the object area.
    bool inObjects(std::uint64_t at, std::uint64_t size) const {
        return at >= magicSize && at <= tableOffset_ && size <= tableOffset_ - at;
    }

    std::optional<std::uint64_t> offsetOf(std::uint64_t ref) const {
        if (ref >= objects_) {
            return std::nullopt;
        }
        const auto entry = static_cast<qsizetype>(tableOffset_ + ref * static_cast<std::uint64_t>(offsetSize_));
        const std::uint64_t offset = bigEndian(entry, offsetSize_);
        return inObjects(offset, 1) ? std::optional(offset) : std::nullopt;
    }

    // The element count after a marker and where the elements start.
    std::optional<std::pair<std::uint64_t, std::uint64_t>> count(std::uint64_t at) const {
        const std::uint8_t info = byteAt(static_cast<qsizetype>(at)) & 0x0F;
        if (info != countFollows) {
            return std::pair{std::uint64_t{info}, at + 1};
        }
        if (!inObjects(at + 1, 1) || (byteAt(static_cast<qsizetype>(at + 1)) & 0xF0) != integerMarker) {
            return std::nullopt;
        }
        const int bytes = 1 << (byteAt(static_cast<qsizetype>(at + 1)) & 0x0F);
        if (bytes > 8 || !inObjects(at + 2, static_cast<std::uint64_t>(bytes))) {
            return std::nullopt;
        }
        return std::pair{bigEndian(static_cast<qsizetype>(at + 2), bytes), at + 2 + static_cast<std::uint64_t>(bytes)};
    }

    std::optional<std::vector<std::uint64_t>> refs(std::uint64_t at, std::uint64_t n) const {
        const auto size = static_cast<std::uint64_t>(refSize_);
        if (n > objects_ || !inObjects(at, n * size)) {
            return std::nullopt;
        }
        std::vector<std::uint64_t> result(n);
        for (std::uint64_t i = 0; i < n; ++i) {
            result[i] = bigEndian(static_cast<qsizetype>(at + i * size), refSize_);
        }
        return result;
    }

    // The integer or real at `at`, with whether it is an integer; none for anything else.
    std::optional<std::pair<double, std::optional<std::int64_t>>> number(std::uint64_t at) const {
        const std::uint8_t marker = byteAt(static_cast<qsizetype>(at));
        const int bytes = 1 << (marker & 0x0F);
        if (bytes > 8 || !inObjects(at + 1, static_cast<std::uint64_t>(bytes))) {
            return std::nullopt;
        }
        const std::uint64_t raw = bigEndian(static_cast<qsizetype>(at + 1), bytes);
        switch (marker & 0xF0) {
        case integerMarker: {
            // 1-, 2- and 4-byte integers are unsigned, 8-byte ones signed.
            const auto integer = static_cast<std::int64_t>(raw);
            return std::pair{static_cast<double>(integer), std::optional(integer)};
        }
        case realMarker:
            if (bytes == 4) {
                return std::pair{double{std::bit_cast<float>(static_cast<std::uint32_t>(raw))}, std::nullopt};
            }
            if (bytes == 8) {
                return std::pair{std::bit_cast<double>(raw), std::nullopt};
            }
            return std::nullopt;
        default: return std::nullopt;
        }
    }

    PlistValue scalar(std::uint64_t at) const {
        const auto value = number(at);
        if (!value) {
            return PlistValue();
        }
        return value->second ? PlistValue::integer(*value->second) : PlistValue::real(value->first);
    }

    std::optional<PlistValue> text(std::uint64_t at, bool utf16) {
        const auto length = count(at);
        const std::uint64_t unit = utf16 ? 2 : 1;
        if (!length || length->first > tableOffset_ || !inObjects(length->second, length->first * unit) ||
            !spend(length->first)) {
            return std::nullopt;
        }
        const auto start = static_cast<qsizetype>(length->second);
        const auto n = static_cast<qsizetype>(length->first);
        if (!utf16) {
            return PlistValue::text(QString::fromLatin1(bytes_.data() + start, n));
        }
        QString value(n, Qt::Uninitialized);
        for (qsizetype i = 0; i < n; ++i) {
            value[i] = QChar(static_cast<char16_t>(bigEndian(start + 2 * i, 2)));
        }
        return PlistValue::text(std::move(value));
    }

    std::optional<PlistValue> numbers(std::uint64_t at) {
        const auto length = count(at);
        const auto elements = length && spend(length->first) ? refs(length->second, length->first) : std::nullopt;
        if (!elements) {
            return std::nullopt;
        }
        std::vector<double> values(elements->size());
        for (std::size_t i = 0; i < values.size(); ++i) {
            const auto offset = offsetOf((*elements)[i]);
            if (!offset) {
                return std::nullopt;
            }
            const auto element = number(*offset);
            if (!element) {
                return PlistValue();  // an array of something else
            }
            values[i] = element->first;
        }
        return PlistValue::numbers(std::move(values));
    }

    std::optional<PlistValue> dict(std::uint64_t at, int depth) {
        const auto length = count(at);
        const auto keysAndValues = length && length->first <= objects_ && spend(length->first)
                                       ? refs(length->second, 2 * length->first)
                                       : std::nullopt;
        if (!keysAndValues) {
            return std::nullopt;
        }
        const std::size_t n = keysAndValues->size() / 2;
        PlistValue result = PlistValue::dict();
        for (std::size_t i = 0; i < n; ++i) {
            const auto key = object((*keysAndValues)[i], depth + 1);
            const auto value = object((*keysAndValues)[n + i], depth + 1);
            if (!key || !value) {
                return std::nullopt;
            }
            if (!key->toText()) {
                return PlistValue();
            }
            result.insert(*key->toText(), std::move(*value));
        }
        return result;
    }

    std::optional<PlistValue> object(std::uint64_t ref, int depth) {
        const auto at = offsetOf(ref);
        if (!at || depth > deepest) {
            return std::nullopt;
        }
        switch (byteAt(static_cast<qsizetype>(*at)) & 0xF0) {
        case integerMarker:
        case realMarker: return scalar(*at);
        case asciiMarker: return text(*at, false);
        case utf16Marker: return text(*at, true);
        case arrayMarker: return firstVisit(ref) ? numbers(*at) : std::nullopt;
        case dictMarker: return firstVisit(ref) ? dict(*at, depth) : std::nullopt;
        default: return PlistValue();
        }
    }

    bool firstVisit(std::uint64_t ref) {
        if (decodedContainers_[ref]) {
            return false;
        }
        decodedContainers_[ref] = true;
        return true;
    }

    QByteArrayView bytes_;
    int offsetSize_ = 0;
    int refSize_ = 0;
    std::uint64_t objects_ = 0;
    std::uint64_t tableOffset_ = 0;
    std::uint64_t budget_;
    std::vector<bool> decodedContainers_;
};

}  // namespace

QByteArray BinaryPlist::encode(const PlistValue& root) { return Writer(root).finish(); }

std::optional<PlistValue> BinaryPlist::decode(QByteArrayView bytes) { return Reader(bytes).read(); }

}  // namespace kelvara
