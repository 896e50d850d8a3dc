// SPDX-License-Identifier: GPL-3.0-or-later
#include "storage/cache_entry.h"

#include "storage/binary_plist.h"
#include "storage/waveform_plist.h"

#include <QCryptographicHash>

namespace kelvara {

namespace {

const QString identityKey = QStringLiteral("identity");
const QString waveformKey = QStringLiteral("waveform");
const QString tempoAnalyzerVersionKey = QStringLiteral("tempoAnalyzerVersion");
const QString digestKey = QStringLiteral("digest");
constexpr std::int64_t unversionedTempoAnalyzer = 1;

// The unsigned fields go in as their 64-bit pattern, so they come back out exactly.
PlistValue encodeIdentity(const FileIdentity& identity) {
    PlistValue value = PlistValue::dict();
    value.insert(QStringLiteral("path"), PlistValue::text(identity.path));
    value.insert(QStringLiteral("size"), PlistValue::integer(static_cast<std::int64_t>(identity.size)));
    value.insert(QStringLiteral("modified"), PlistValue::real(identity.modified));
    value.insert(QStringLiteral("created"), PlistValue::real(identity.created));
    value.insert(QStringLiteral("inode"), PlistValue::integer(static_cast<std::int64_t>(identity.inode)));
    value.insert(QStringLiteral("schema"), PlistValue::integer(identity.schema));
    return value;
}

std::optional<FileIdentity> decodeIdentity(const PlistValue& value) {
    const PlistValue* path = value.find(QStringLiteral("path"));
    const PlistValue* size = value.find(QStringLiteral("size"));
    const PlistValue* modified = value.find(QStringLiteral("modified"));
    const PlistValue* created = value.find(QStringLiteral("created"));
    const PlistValue* inode = value.find(QStringLiteral("inode"));
    const PlistValue* schema = value.find(QStringLiteral("schema"));
    if (!path || !size || !modified || !created || !inode || !schema || !path->toText() || !size->toInteger() ||
        !modified->toNumber() || !created->toNumber() || !inode->toInteger() || !schema->toInteger()) {
        return std::nullopt;
    }
    return FileIdentity{*path->toText(),
                        static_cast<std::uint64_t>(*size->toInteger()),
                        *modified->toNumber(),
                        *created->toNumber(),
                        static_cast<std::uint64_t>(*inode->toInteger()),
                        *schema->toInteger()};
}

}  // namespace

PlistValue CacheEntry::content() const {
    PlistValue entry = PlistValue::dict();
    entry.insert(identityKey, encodeIdentity(identity));
    entry.insert(waveformKey, WaveformPlist::encode(waveform));
    entry.insert(tempoAnalyzerVersionKey, PlistValue::integer(tempoAnalyzerVersion));
    return entry;
}

// Taken over the encoding of the decoded values, so that any change to what they decode to
// shows, wherever in the file the damage lies.
QString CacheEntry::digest() const {
    const QByteArray encoded = BinaryPlist::encode(content());
    return QString::fromLatin1(QCryptographicHash::hash(encoded, QCryptographicHash::Sha256).toHex());
}

QByteArray CacheEntry::encode() const {
    PlistValue entry = content();
    entry.insert(digestKey, PlistValue::text(digest()));
    return BinaryPlist::encode(entry);
}

std::optional<CacheEntry> CacheEntry::decode(QByteArrayView bytes) {
    const auto entry = BinaryPlist::decode(bytes);
    const PlistValue* identity = entry ? entry->find(identityKey) : nullptr;
    const PlistValue* waveform = entry ? entry->find(waveformKey) : nullptr;
    if (!identity || !waveform) {
        return std::nullopt;
    }
    const PlistValue* tempoVersion = entry->find(tempoAnalyzerVersionKey);
    const PlistValue* digest = entry->find(digestKey);
    auto decodedIdentity = decodeIdentity(*identity);
    auto decodedWaveform = WaveformPlist::decode(*waveform);
    if (!decodedIdentity || !decodedWaveform || (tempoVersion && !tempoVersion->toInteger()) || !digest ||
        !digest->toText()) {
        return std::nullopt;
    }
    CacheEntry decoded{std::move(*decodedIdentity), std::move(*decodedWaveform),
                       tempoVersion ? *tempoVersion->toInteger() : unversionedTempoAnalyzer};
    if (decoded.digest() != *digest->toText()) {
        return std::nullopt;
    }
    return decoded;
}

}  // namespace kelvara
