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

#include <chrono>
#include <filesystem>
#include <random>

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
    EXPECT_EQ(keys(root), (std::vector<std::string>{"identity", "waveform", "tempoAnalyzerVersion"}));
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

// An entry as another writer (libplist) would store it; `tempoVersion` is left out as in
// the files of the first tempo analyzer.
void writeWithLibplist(const WaveformCache& cache, const FileIdentity& id, const Waveform& waveform,
                       std::optional<std::uint64_t> tempoVersion) {
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

}  // namespace
