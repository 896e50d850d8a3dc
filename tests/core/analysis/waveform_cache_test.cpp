// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/tempo_analyzer.h"
#include "i18n/l.h"
#include "models/waveform_error.h"
#include "storage/binary_plist.h"
#include "storage/cache_entry.h"
#include "storage/waveform_cache.h"
#include "storage/waveform_plist.h"
#include "point_waveform.h"
#include "synthetic_audio.h"
#include "test_home.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <plist/plist.h>

#include <algorithm>
#include <array>
#include <bit>
#include <chrono>
#include <filesystem>
#include <random>

#include <sys/stat.h>

using kelvara::BeatGrid;
using kelvara::BinaryPlist;
using kelvara::FileIdentity;
using kelvara::PlistValue;
using kelvara::TempoAnalyzer;
using kelvara::Waveform;
using kelvara::WaveformCache;
using kelvara::WaveformPlist;

namespace fs = std::filesystem;

namespace {

constexpr std::uintmax_t mebibyte = 1 << 20;
constexpr auto currentTempoVersion = static_cast<std::uint64_t>(TempoAnalyzer::version);

Waveform record(std::size_t points) {
    std::vector<float> peaks(points);
    for (std::size_t i = 0; i < points; ++i) {
        peaks[i] = static_cast<float>(i % 997) / 996.0f;
    }
    Waveform waveform = Waveform::make(180.25, peaks, peaks, peaks, peaks, peaks);
    waveform.beatGrid = BeatGrid{124.5, 0.37, 0.8};
    return waveform;
}

FileIdentity identity(const QString& path = QStringLiteral("/music/track.flac")) {
    return {path, 31'337, 1.7e9 + 0.123456, 1.6e9, 424'242, FileIdentity::currentSchema};
}

fs::path native(const QString& path) { return QFile::encodeName(path).toStdString(); }

void setAge(const fs::path& path, std::chrono::minutes age) {
    fs::last_write_time(path, fs::file_time_type::clock::now() - age);
}

std::chrono::minutes age(const fs::path& path) {
    return std::chrono::duration_cast<std::chrono::minutes>(fs::file_time_type::clock::now() - fs::last_write_time(path));
}

void sparseFile(const fs::path& path, std::uintmax_t size, std::chrono::minutes fileAge) {
    QFile(QString::fromStdString(path.string())).open(QIODevice::WriteOnly);
    fs::resize_file(path, size);
    setAge(path, fileAge);
}

void expectSameRecord(const Waveform& a, const Waveform& b) {
    EXPECT_EQ(a.version, b.version);
    EXPECT_EQ(a.duration, b.duration);
    EXPECT_EQ(a.peaks, b.peaks);
    EXPECT_EQ(a.rms, b.rms);
    EXPECT_EQ(a.low, b.low);
    EXPECT_EQ(a.mid, b.mid);
    EXPECT_EQ(a.high, b.high);
    EXPECT_EQ(a.beatGrid, b.beatGrid);
}

class WaveformCacheTest : public ::testing::Test {
protected:
    kelvara::testing::TestHome home;
    WaveformCache cache;
};

TEST_F(WaveformCacheTest, LivesInTheUserCacheFolder) {
    EXPECT_EQ(cache.directory(), home.cacheHome() + QStringLiteral("/local.kelvara.waveform/Peaks"));
    EXPECT_EQ(cache.fileFor(identity()), cache.directory() + QLatin1Char('/') + identity().key() + QStringLiteral(".peaks"));
}

TEST_F(WaveformCacheTest, StoresAFullRecordAndMarksItUsedOnEveryHit) {
    const Waveform full = record(Waveform::maxPoints);
    cache.save(full, identity());
    const fs::path file = native(cache.fileFor(identity()));
    EXPECT_LT(fs::file_size(file), static_cast<std::uintmax_t>(WaveformCache::largestReadableFile));
    setAge(file, std::chrono::minutes(90));

    const auto loaded = cache.load(identity());
    ASSERT_TRUE(loaded.has_value());
    expectSameRecord(*loaded, full);
    EXPECT_LT(age(file).count(), 2);

    Waveform withoutGrid = record(10);
    withoutGrid.beatGrid.reset();
    cache.save(withoutGrid, identity());
    ASSERT_TRUE(cache.load(identity()).has_value());
    EXPECT_FALSE(cache.load(identity())->beatGrid.has_value());
}

TEST_F(WaveformCacheTest, AnythingButTheSameIdentityAndAValidRecordIsAMiss) {
    cache.save(record(100), identity());
    FileIdentity otherInode = identity();
    otherInode.inode += 1;
    // Same key file, different stored identity: copy the entry over the other key's name.
    fs::copy_file(native(cache.fileFor(identity())), native(cache.fileFor(otherInode)));
    EXPECT_FALSE(cache.load(otherInode).has_value());

    // An older record format under the right identity.
    Waveform old = record(100);
    old.version = 2;
    const QByteArray oldBytes = kelvara::CacheEntry{identity(), old}.encode();
    QFile file(cache.fileFor(identity()));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(oldBytes);
    file.close();
    EXPECT_FALSE(cache.load(identity()).has_value());

    // Damaged bytes: a miss, and the file stays for the next save to replace.
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(oldBytes.left(oldBytes.size() / 2));
    file.close();
    EXPECT_FALSE(cache.load(identity()).has_value());
    EXPECT_TRUE(QFile::exists(cache.fileFor(identity())));
    EXPECT_FALSE(cache.load(identity(QStringLiteral("/never/saved.mp3"))).has_value());
}

TEST_F(WaveformCacheTest, RefusesToStoreAnInvalidRecord) {
    Waveform broken = record(10);
    broken.rms[3] = 1.0000001f;
    try {
        cache.save(broken, identity());
        ADD_FAILURE() << "an invalid record was stored";
    } catch (const kelvara::WaveformError& error) {
        EXPECT_EQ(error.text(), kelvara::L("Некорректные данные waveform"));
    }
    EXPECT_FALSE(QFile::exists(cache.fileFor(identity())));
}

// The identity's path is stretched until the file has exactly the size wanted.
TEST_F(WaveformCacheTest, ReadsFilesUpTo3999999Bytes) {
    const auto identityOfSize = [&](std::int64_t wanted) {
        qsizetype length = 2'000'000;
        for (int attempt = 0; attempt < 3; ++attempt) {
            const FileIdentity candidate = identity(QLatin1Char('/') + QString(length, QLatin1Char('a')));
            cache.save(record(50), candidate);
            const auto size = static_cast<std::int64_t>(fs::file_size(native(cache.fileFor(candidate))));
            if (size == wanted) {
                return candidate;
            }
            fs::remove(native(cache.fileFor(candidate)));
            length += static_cast<qsizetype>(wanted - size);
        }
        throw std::runtime_error("could not reach the wanted size");
    };
    EXPECT_TRUE(cache.load(identityOfSize(3'999'999)).has_value());
    EXPECT_FALSE(cache.load(identityOfSize(4'000'000)).has_value());
}

TEST_F(WaveformCacheTest, PrunesTheLeastRecentlyUsedBeyond256MiB) {
    cache.save(record(10), identity(QStringLiteral("/music/played-earlier.mp3")));
    const fs::path played = native(cache.fileFor(identity(QStringLiteral("/music/played-earlier.mp3"))));
    setAge(played, std::chrono::minutes(180));
    const fs::path folder = native(cache.directory());
    sparseFile(folder / "oldest.peaks", 100 * mebibyte, std::chrono::minutes(120));
    sparseFile(folder / "older.peaks", 60 * mebibyte, std::chrono::minutes(60));
    sparseFile(folder / "recent.peaks", 100 * mebibyte, std::chrono::minutes(30));
    sparseFile(folder / "unrelated.data", 400 * mebibyte, std::chrono::minutes(600));
    sparseFile(folder / "peaks", 10 * mebibyte, std::chrono::minutes(600));

    // Played again a minute ago: now the most recently used, though saved first.
    ASSERT_TRUE(cache.load(identity(QStringLiteral("/music/played-earlier.mp3"))).has_value());
    cache.save(record(10), identity());

    EXPECT_FALSE(fs::exists(folder / "oldest.peaks"));
    EXPECT_TRUE(fs::exists(folder / "older.peaks"));
    EXPECT_TRUE(fs::exists(folder / "recent.peaks"));
    EXPECT_TRUE(fs::exists(played));
    EXPECT_TRUE(fs::exists(native(cache.fileFor(identity()))));
    EXPECT_TRUE(fs::exists(folder / "unrelated.data"));
    EXPECT_TRUE(fs::exists(folder / "peaks"));
}

// "<key>.peaks.XXXXXX" is what a save killed between writing and renaming leaves behind.
TEST_F(WaveformCacheTest, PruneRemovesAbandonedTemporariesAndCountsTheOthers) {
    const fs::path folder = native(cache.directory());
    fs::create_directories(folder);
    sparseFile(folder / "older.peaks", 10 * mebibyte, std::chrono::minutes(30));
    const std::string key = identity().key().toStdString();
    sparseFile(folder / (key + ".peaks.aB3xYz"), 10 * mebibyte, std::chrono::minutes(5));
    sparseFile(folder / (key + ".peaks.Fresh1"), 250 * mebibyte, std::chrono::minutes(0));
    sparseFile(folder / (key + ".peaks.Held01"), mebibyte, std::chrono::minutes(5));
    QFile held(QString::fromStdString((folder / (key + ".peaks.Held01")).string()));
    ASSERT_TRUE(held.open(QIODevice::ReadOnly));

    cache.save(record(10), identity());
    EXPECT_FALSE(fs::exists(folder / (key + ".peaks.aB3xYz")));
    EXPECT_TRUE(fs::exists(folder / (key + ".peaks.Held01")));
    // The fresh temporary is a save under way: never removed, but its size counts, so the
    // older entry makes room; the abandoned one no longer counts, so the new entry stays.
    EXPECT_TRUE(fs::exists(folder / (key + ".peaks.Fresh1")));
    EXPECT_FALSE(fs::exists(folder / "older.peaks"));
    EXPECT_TRUE(cache.load(identity()).has_value());
}

// A FIFO in place of an entry would block the open; a folder there cannot be read either.
TEST_F(WaveformCacheTest, SpecialFilesInPlaceOfAnEntryAreMisses) {
    fs::create_directories(native(cache.directory()));
    const QString fifo = cache.fileFor(identity());
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0644), 0);
    EXPECT_FALSE(cache.load(identity()).has_value());

    fs::create_directory(native(cache.fileFor(identity(QStringLiteral("/music/folder.mp3")))));
    EXPECT_FALSE(cache.load(identity(QStringLiteral("/music/folder.mp3"))).has_value());
}

// libplist is the reference reader and writer of the format.
TEST_F(WaveformCacheTest, FilesAreBinaryPropertyListsInKeyOrder) {
    cache.save(record(300), identity());
    QFile file(cache.fileFor(identity()));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    plist_t root = nullptr;
    plist_from_bin(bytes.constData(), static_cast<std::uint32_t>(bytes.size()), &root);
    ASSERT_NE(root, nullptr);
    const auto keys = [](plist_t dict) {
        std::vector<std::string> names;
        plist_dict_iter it = nullptr;
        plist_dict_new_iter(dict, &it);
        char* key = nullptr;
        plist_t value = nullptr;
        for (plist_dict_next_item(dict, it, &key, &value); value; plist_dict_next_item(dict, it, &key, &value)) {
            names.emplace_back(key);
            std::free(key);
        }
        std::free(it);
        return names;
    };
    EXPECT_EQ(keys(root), (std::vector<std::string>{"identity", "waveform", "tempoAnalyzerVersion", "digest"}));
    plist_t waveform = plist_dict_get_item(root, "waveform");
    EXPECT_EQ(keys(waveform),
              (std::vector<std::string>{"version", "duration", "peaks", "rms", "low", "mid", "high", "beatGrid"}));
    EXPECT_EQ(keys(plist_dict_get_item(root, "identity")),
              (std::vector<std::string>{"path", "size", "modified", "created", "inode", "schema"}));
    EXPECT_EQ(plist_get_node_type(plist_dict_get_item(waveform, "version")), PLIST_UINT);
    plist_t peaks = plist_dict_get_item(waveform, "peaks");
    ASSERT_EQ(plist_array_get_size(peaks), 300u);
    double value = 0;
    plist_get_real_val(plist_array_get_item(peaks, 123), &value);
    EXPECT_EQ(value, static_cast<double>(record(300).peaks[123]));
    plist_free(root);
}

// The digest our own writer gives this entry; it is taken over the values, so another writer
// stores the same one.
std::string digestOf(const FileIdentity& id, const Waveform& waveform, std::int64_t tempoVersion) {
    const auto entry = BinaryPlist::decode(kelvara::CacheEntry{id, waveform, tempoVersion}.encode());
    return entry->find(QStringLiteral("digest"))->toText()->toStdString();
}

// An entry as another writer (libplist) would store it; `tempoVersion` is left out as in
// the files of the first tempo analyzer, and the digest as in the files before it.
void writeWithLibplist(const WaveformCache& cache, const FileIdentity& id, const Waveform& waveform,
                       std::optional<std::uint64_t> tempoVersion, bool withDigest = true) {
    const auto dict = [](std::initializer_list<std::pair<const char*, plist_t>> items) {
        plist_t node = plist_new_dict();
        for (const auto& [key, value] : items) {
            plist_dict_set_item(node, key, value);
        }
        return node;
    };
    const auto series = [](const std::vector<float>& values) {
        plist_t node = plist_new_array();
        for (const float v : values) {
            plist_array_append_item(node, plist_new_real(v));
        }
        return node;
    };
    plist_t root = dict(
        {{"identity", dict({{"path", plist_new_string(id.path.toUtf8().constData())},
                            {"size", plist_new_uint(id.size)},
                            {"modified", plist_new_real(id.modified)},
                            {"created", plist_new_real(id.created)},
                            {"inode", plist_new_uint(id.inode)},
                            {"schema", plist_new_uint(3)}})},
         {"waveform", dict({{"version", plist_new_uint(3)},
                            {"duration", plist_new_real(waveform.duration)},
                            {"peaks", series(waveform.peaks)},
                            {"rms", series(waveform.rms)},
                            {"low", series(waveform.low)},
                            {"mid", series(waveform.mid)},
                            {"high", series(waveform.high)},
                            {"beatGrid", dict({{"bpm", plist_new_real(waveform.beatGrid->bpm)},
                                               {"origin", plist_new_real(waveform.beatGrid->origin)},
                                               {"confidence", plist_new_real(waveform.beatGrid->confidence)}})}})}});
    if (tempoVersion) {
        plist_dict_set_item(root, "tempoAnalyzerVersion", plist_new_uint(*tempoVersion));
    }
    if (withDigest) {
        const auto version = static_cast<std::int64_t>(tempoVersion.value_or(1));
        plist_dict_set_item(root, "digest", plist_new_string(digestOf(id, waveform, version).c_str()));
    }
    char* bytes = nullptr;
    std::uint32_t length = 0;
    plist_to_bin(root, &bytes, &length);
    plist_free(root);
    fs::create_directories(native(cache.directory()));
    QFile file(cache.fileFor(id));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes, length);
    file.close();
    std::free(bytes);
}

std::optional<kelvara::CacheEntry> storedEntry(const WaveformCache& cache, const FileIdentity& id) {
    QFile file(cache.fileFor(id));
    return file.open(QIODevice::ReadOnly) ? kelvara::CacheEntry::decode(file.readAll()) : std::nullopt;
}

TEST_F(WaveformCacheTest, ReadsWhatLibplistWrites) {
    const Waveform expected = record(40);
    writeWithLibplist(cache, identity(), expected, currentTempoVersion);
    const auto loaded = cache.load(identity());
    ASSERT_TRUE(loaded.has_value());
    expectSameRecord(*loaded, expected);
}

// Entries written before digests existed are analysed again and replaced, without a word.
TEST_F(WaveformCacheTest, AnEntryWithoutADigestIsAMissAndIsReplaced) {
    writeWithLibplist(cache, identity(), record(40), currentTempoVersion, false);
    EXPECT_FALSE(cache.load(identity()).has_value());
    cache.save(record(40), identity());
    EXPECT_TRUE(cache.load(identity()).has_value());
}

// Every single-bit flip either leaves what the entry decodes to unchanged or makes it a miss;
// flips aimed at the length, the tempo and the grid's origin are always misses.
TEST_F(WaveformCacheTest, ADamagedEntryIsNeverServedAsTruth) {
    const Waveform original = record(2'000);
    cache.save(original, identity());
    const QString path = cache.fileFor(identity());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray good = file.readAll();
    file.close();
    const auto loadWithFlip = [&](qsizetype at, int bit) {
        QByteArray damaged = good;
        damaged[at] = static_cast<char>(damaged[at] ^ (1 << bit));
        QFile target(path);
        EXPECT_TRUE(target.open(QIODevice::WriteOnly));
        target.write(damaged);
        target.close();
        return cache.load(identity());
    };
    std::mt19937 generator(14);
    for (int round = 0; round < 120; ++round) {
        const auto at = static_cast<qsizetype>(generator() % static_cast<unsigned>(good.size()));
        const auto loaded = loadWithFlip(at, static_cast<int>(generator() % 8));
        if (loaded) {
            expectSameRecord(*loaded, original);
        }
    }
    // 180.25 s and 124.5 BPM are stored as 4-byte reals, the origin 0.37 as an 8-byte one.
    const auto bigEndian = [](auto value) {
        auto bytes = std::bit_cast<std::array<char, sizeof value>>(value);
        std::reverse(bytes.begin(), bytes.end());
        return QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size()));
    };
    for (const QByteArray& field : {bigEndian(180.25f), bigEndian(124.5f), bigEndian(0.37)}) {
        const qsizetype at = good.indexOf(field);
        ASSERT_GE(at, 0);
        EXPECT_FALSE(loadWithFlip(at + field.size() - 1, 0).has_value());
        EXPECT_FALSE(loadWithFlip(at, 4).has_value());
    }
}

// Two minutes of clicks at 120 BPM, stored with a grid no analyzer would find in them.
Waveform clicksWithAStaleGrid() {
    kelvara::testing::SyntheticAudio audio(120, 8'000);
    for (double t = 0.25; t < audio.duration(); t += 0.5) {
        audio.click(t);
    }
    Waveform waveform = kelvara::testing::pointWaveform(audio.samples(), audio.sampleRate());
    waveform.beatGrid = BeatGrid{90, 3.1, 0.4};
    return waveform;
}

TEST_F(WaveformCacheTest, AGridOfAnOlderTempoAnalyzerIsFoundAgainAndStored) {
    const Waveform stale = clicksWithAStaleGrid();
    const auto fresh = TempoAnalyzer::analyze(stale, {});
    ASSERT_TRUE(fresh.has_value());
    EXPECT_NEAR(fresh->bpm, 120, 0.1);

    // A file of the first analyzer (no version) and one of version 1 alike.
    const std::vector<std::optional<std::uint64_t>> olderFiles{std::nullopt, 1};
    for (const auto& older : olderFiles) {
        writeWithLibplist(cache, identity(), stale, older);
        const auto loaded = cache.load(identity());
        ASSERT_TRUE(loaded.has_value());
        EXPECT_EQ(loaded->beatGrid, fresh);
        EXPECT_EQ(loaded->peaks, stale.peaks);

        const auto rewritten = storedEntry(cache, identity());
        ASSERT_TRUE(rewritten.has_value());
        EXPECT_EQ(rewritten->tempoAnalyzerVersion, TempoAnalyzer::version);
        EXPECT_EQ(rewritten->waveform.beatGrid, fresh);
    }

    // A record of a newer analyzer is left as it is.
    writeWithLibplist(cache, identity(), stale, currentTempoVersion + 1);
    ASSERT_TRUE(cache.load(identity()).has_value());
    EXPECT_EQ(cache.load(identity())->beatGrid, stale.beatGrid);
    EXPECT_EQ(storedEntry(cache, identity())->tempoAnalyzerVersion, TempoAnalyzer::version + 1);
}

TEST_F(WaveformCacheTest, AVersionThatIsNotAnIntegerIsAMiss) {
    const auto entry = BinaryPlist::decode(kelvara::CacheEntry{identity(), record(100)}.encode());
    ASSERT_TRUE(entry.has_value());
    PlistValue damaged = PlistValue::dict();
    damaged.insert(QStringLiteral("identity"), *entry->find(QStringLiteral("identity")));
    damaged.insert(QStringLiteral("waveform"), *entry->find(QStringLiteral("waveform")));
    damaged.insert(QStringLiteral("tempoAnalyzerVersion"), PlistValue::text(QStringLiteral("2")));
    damaged.insert(QStringLiteral("digest"), *entry->find(QStringLiteral("digest")));
    fs::create_directories(native(cache.directory()));
    QFile file(cache.fileFor(identity()));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(BinaryPlist::encode(damaged));
    file.close();
    EXPECT_FALSE(cache.load(identity()).has_value());
}

// A damaged file must never crash the reader or pass for a record.
TEST(BinaryPlistTest, SurvivesDamagedBytes) {
    PlistValue value = WaveformPlist::encode(record(64));
    value.insert(QStringLiteral("name"), PlistValue::text(QStringLiteral("Ünïcode ♪ track")));
    const QByteArray good = BinaryPlist::encode(value);
    const auto decoded = BinaryPlist::decode(good);
    ASSERT_TRUE(decoded.has_value());
    EXPECT_EQ(decoded->find(QStringLiteral("name"))->toText(), QStringLiteral("Ünïcode ♪ track"));

    for (qsizetype cut = 0; cut < good.size(); cut += 7) {
        (void)BinaryPlist::decode(good.left(cut));
    }
    std::mt19937 generator(3);
    for (int round = 0; round < 2'000; ++round) {
        QByteArray damaged = good;
        for (int flips = 0; flips < 4; ++flips) {
            const auto at = static_cast<qsizetype>(generator() % static_cast<unsigned>(damaged.size()));
            damaged[at] = static_cast<char>(generator());
        }
        const auto result = BinaryPlist::decode(damaged);
        if (result) {
            (void)WaveformPlist::decode(*result);
        }
    }
}

// Binary property lists put together object by object, with 4-byte references and offsets,
// to build what no honest writer makes.
class PlistBuilder {
public:
    std::uint32_t add(const QByteArray& object) {
        objects_.push_back(object);
        return static_cast<std::uint32_t>(objects_.size() - 1);
    }

    static QByteArray bigEndian(std::uint64_t value, int bytes) {
        QByteArray out;
        for (int i = bytes - 1; i >= 0; --i) {
            out.append(static_cast<char>((value >> (8 * i)) & 0xFFu));
        }
        return out;
    }

    // A marker with its count: in the marker up to 14, else as a following 4-byte integer.
    static QByteArray marker(std::uint8_t kind, std::uint64_t count) {
        if (count < 15) {
            return QByteArray(1, static_cast<char>(kind | count));
        }
        return QByteArray(1, static_cast<char>(kind | 0x0F)) + QByteArray(1, '\x12') + bigEndian(count, 4);
    }

    static QByteArray refs(std::uint8_t kind, std::uint64_t count, const std::vector<std::uint32_t>& all) {
        QByteArray out = marker(kind, count);
        for (const std::uint32_t ref : all) {
            out += bigEndian(ref, 4);
        }
        return out;
    }

    QByteArray finish(std::uint32_t top) const {
        QByteArray out("bplist00");
        std::vector<std::uint64_t> offsets;
        for (const QByteArray& object : objects_) {
            offsets.push_back(static_cast<std::uint64_t>(out.size()));
            out += object;
        }
        const auto table = static_cast<std::uint64_t>(out.size());
        for (const std::uint64_t offset : offsets) {
            out += bigEndian(offset, 4);
        }
        out += QByteArray(6, '\0') + QByteArray(1, '\x04') + QByteArray(1, '\x04');
        return out + bigEndian(objects_.size(), 8) + bigEndian(top, 8) + bigEndian(table, 8);
    }

private:
    std::vector<QByteArray> objects_;
};

// Work must follow the file's size, not its references: each container is read once, and a
// file cannot make the reader decode more elements than it has bytes.
TEST(BinaryPlistTest, CraftedReferencesCannotMultiplyTheWork) {
    const auto keys = [](PlistBuilder& plist, int count, const QByteArray& text) {
        std::vector<std::uint32_t> refs;
        for (int i = 0; i < count; ++i) {
            const QByteArray name = text + QByteArray::number(i);
            refs.push_back(plist.add(PlistBuilder::marker(0x50, static_cast<std::uint64_t>(name.size())) + name));
        }
        return refs;
    };
    // 50,000 numbers in one array, the value of `keyCount` keys.
    const auto sharedArray = [&](int keyCount) {
        PlistBuilder plist;
        std::vector<std::uint32_t> numbers;
        for (int i = 0; i < 50'000; ++i) {
            numbers.push_back(plist.add(QByteArray(1, '\x10') + QByteArray(1, static_cast<char>(i % 100))));
        }
        const std::uint32_t array = plist.add(PlistBuilder::refs(0xA0, numbers.size(), numbers));
        std::vector<std::uint32_t> entries = keys(plist, keyCount, "k");
        entries.resize(2 * static_cast<std::size_t>(keyCount), array);
        return plist.finish(plist.add(PlistBuilder::refs(0xD0, static_cast<std::uint64_t>(keyCount), entries)));
    };
    EXPECT_FALSE(BinaryPlist::decode(sharedArray(2'000)).has_value());
    const auto decoded = BinaryPlist::decode(sharedArray(1));
    ASSERT_TRUE(decoded.has_value());
    const PlistValue* numbers = decoded->find(QStringLiteral("k0"));
    ASSERT_NE(numbers, nullptr);
    EXPECT_EQ(numbers->toNumbers()->size(), 50'000u);

    // A dictionary inside itself.
    PlistBuilder cycle;
    const std::uint32_t key = keys(cycle, 1, "self").front();
    EXPECT_FALSE(BinaryPlist::decode(cycle.finish(cycle.add(PlistBuilder::refs(0xD0, 1, {key, key + 1})))).has_value());

    // 3,000 keys that all name one 100,000-character text.
    PlistBuilder text;
    const std::uint32_t longText = keys(text, 1, QByteArray(100'000, 'x')).front();
    const std::uint32_t value = text.add(QByteArray("\x10\x01", 2));
    std::vector<std::uint32_t> textEntries(3'000, longText);
    textEntries.resize(6'000, value);
    EXPECT_FALSE(BinaryPlist::decode(text.finish(text.add(PlistBuilder::refs(0xD0, 3'000, textEntries)))).has_value());
}

}  // namespace
