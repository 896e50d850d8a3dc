// SPDX-License-Identifier: GPL-3.0-or-later
#include "i18n/l.h"
#include "models/cue_point.h"
#include "models/waveform_error.h"
#include "storage/atomic_file.h"
#include "storage/beat_grid_store.h"
#include "storage/cue_store.h"
#include "test_home.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <functional>

using kelvara::BeatGrid;
using kelvara::BeatGridStore;
using kelvara::CuePoint;
using kelvara::CueStore;
using kelvara::CueTracks;
using kelvara::WaveformError;

namespace {

QByteArray contents(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void put(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

QString errorText(const std::function<void()>& action) {
    try {
        action();
    } catch (const WaveformError& error) {
        return error.text();
    }
    return QStringLiteral("(no error)");
}

CuePoint cue(double seconds, const QString& label, int color) {
    return CuePoint{QUuid::createUuid(), seconds, label, color};
}

}  // namespace

TEST(CuePointTest, NewCuesCyclePaletteAndClampTime) {
    const CuePoint fifth = CuePoint::numbered(12, 300, 4);
    EXPECT_EQ(fifth.label, kelvara::L("Метка {0}", 5));
    EXPECT_EQ(fifth.color, 0);
    EXPECT_EQ(CuePoint::numbered(-3, 300, 0).seconds, 0);
    EXPECT_EQ(CuePoint::numbered(420, 300, 0).seconds, 300);
}

TEST(CuePointTest, CommittedLabelIsTrimmedAndCut) {
    EXPECT_EQ(CuePoint::committedLabel(QString(200, QLatin1Char('a')), QStringLiteral("old")), QString(120, QLatin1Char('a')));
    EXPECT_EQ(CuePoint::committedLabel(QStringLiteral(" \n припев\t"), QStringLiteral("old")), QStringLiteral("припев"));
    EXPECT_FALSE(CuePoint::committedLabel(QStringLiteral("   "), QStringLiteral("old")));
    EXPECT_FALSE(CuePoint::committedLabel(QStringLiteral(" old "), QStringLiteral("old")));
    // A character outside the basic plane counts once and is never split.
    const QString emoji = QString::fromUtf8("🎵");
    EXPECT_EQ(CuePoint::committedLabel(emoji.repeated(130), QString())->size(), 240);
}

TEST(CuePointTest, JsonFormAndStrictReading) {
    const CuePoint original = cue(12.5, QStringLiteral("вокал"), 3);
    const QJsonObject json = original.toJson();
    EXPECT_EQ(json.value(QStringLiteral("id")).toString(), original.id.toString(QUuid::WithoutBraces).toUpper());
    EXPECT_EQ(CuePoint::fromJson(json), original);
    for (const auto& [key, bad] : std::vector<std::pair<QString, QJsonValue>>{
             {QStringLiteral("color"), 1.5},
             {QStringLiteral("id"), original.id.toString()},  // braces are not the standard form
             {QStringLiteral("seconds"), QJsonValue()},
             {QStringLiteral("label"), 7}}) {
        QJsonObject damaged = json;
        damaged.insert(key, bad);
        EXPECT_FALSE(CuePoint::fromJson(damaged)) << key.toStdString();
    }
}

TEST(CueStoreTest, RoundTripInTheDataFolderWithSortedKeys) {
    kelvara::testing::TestHome home;
    CueStore store;
    EXPECT_EQ(store.file(), home.dataHome() + QStringLiteral("/local.kelvara.waveform/Cues.json"));
    EXPECT_TRUE(store.load().empty());

    const CueTracks tracks{{QStringLiteral("A1B2"), {cue(30, QStringLiteral("b"), 1), cue(30, QStringLiteral("a"), 0)}},
                           {QStringLiteral("EMPTY"), {}}};
    ASSERT_TRUE(store.save(tracks));
    EXPECT_EQ(CueStore().load(), tracks);  // equal times keep their order, empty arrays stay

    const QByteArray text = contents(store.file());
    EXPECT_LT(text.indexOf("\"tracks\""), text.indexOf("\"version\": 1"));
    EXPECT_LT(text.indexOf("\"color\""), text.indexOf("\"id\""));
    EXPECT_LT(text.indexOf("\"label\""), text.indexOf("\"seconds\""));
    EXPECT_TRUE(text.contains("\"EMPTY\": [\n"));
    EXPECT_TRUE(text.contains(tracks.at(QStringLiteral("A1B2")).front().id.toString(QUuid::WithoutBraces).toUpper().toUtf8()));
}

TEST(CueStoreTest, DamagedFileIsRefusedAndNeverOverwritten) {
    kelvara::testing::TestHome home;
    const QString path = home.path() + QStringLiteral("/Cues.json");
    const QByteArray valid = R"({"tracks":{"T":[{"color":1,"id":"6F9619FF-8B86-D011-B42D-00C04FC964FF","label":"x","seconds":-0.0}]},"version":1})";
    put(path, valid);
    EXPECT_EQ(CueStore(path).load().at(QStringLiteral("T")).size(), 1u);

    const QString unsupported = kelvara::L("Файл меток имеет неподдерживаемый формат");
    for (QByteArray damaged : {QByteArray(valid).replace("\"version\":1", "\"version\":2"),
                               QByteArray(valid).replace("\"color\":1", "\"color\":4"),
                               QByteArray(valid).replace("-0.0", "-0.5"),
                               QByteArray(valid).replace("\"label\":\"x\",", ""),
                               QByteArray("{\"tracks\": {"), QByteArray()}) {
        put(path, damaged);
        CueStore store(path);
        EXPECT_EQ(errorText([&] { store.load(); }), unsupported) << damaged.toStdString();
        EXPECT_FALSE(store.readable());
        // The in-memory edits of the run (add, then remove) must not reach the disk.
        EXPECT_FALSE(store.save({{QStringLiteral("T"), {cue(3, QStringLiteral("new"), 0)}}}));
        EXPECT_FALSE(store.save({{QStringLiteral("T"), {}}}));
        EXPECT_EQ(contents(path), damaged);
    }
}

TEST(BeatGridStoreTest, RoundTripIsCompactJson) {
    kelvara::testing::TestHome home;
    BeatGridStore store;
    EXPECT_EQ(store.file(), home.dataHome() + QStringLiteral("/local.kelvara.waveform/BeatGrids.json"));
    EXPECT_TRUE(store.load().empty());
    const kelvara::BeatGridMap grids{{QStringLiteral("id|/music/a b.flac"), BeatGrid{128, 0.42, 1}},
                                     {QStringLiteral("id|/music/c.mp3"), BeatGrid{174.5, 0, 0.3}}};
    ASSERT_TRUE(store.save(grids));
    EXPECT_EQ(BeatGridStore().load(), grids);
    const QByteArray text = contents(store.file());
    EXPECT_FALSE(text.contains('\n'));
    EXPECT_TRUE(text.contains(R"("id|/music/a b.flac":{"bpm":128,"confidence":1,"origin":0.42})"));
}

TEST(BeatGridStoreTest, InvalidGridsAreNeitherWrittenNorRead) {
    kelvara::testing::TestHome home;
    BeatGridStore store;
    ASSERT_TRUE(store.save({{QStringLiteral("k"), BeatGrid{120, 0, 1}}}));
    const QByteArray before = contents(store.file());
    EXPECT_EQ(errorText([&] { (void)store.save({{QStringLiteral("k"), BeatGrid{301, 0, 1}}}); }),
              kelvara::L("Некорректная сетка"));
    EXPECT_EQ(contents(store.file()), before);

    for (const QByteArray& damaged : {QByteArray(R"({"k":{"bpm":120,"confidence":1.5,"origin":0}})"),
                                     QByteArray(R"({"k":{"bpm":120,"origin":0}})"), QByteArray("[]"),
                                     QByteArray("not json")}) {
        put(store.file(), damaged);
        BeatGridStore reopened;
        EXPECT_EQ(errorText([&] { reopened.load(); }), kelvara::L("Повреждён файл сеток")) << damaged.toStdString();
        EXPECT_FALSE(reopened.save({{QStringLiteral("k"), BeatGrid{120, 0, 1}}}));
        EXPECT_EQ(contents(store.file()), damaged);
    }
}

TEST(CueStoreTest, ReadFailureLocksTheStore) {
    kelvara::testing::TestHome home;
    QDir().mkpath(home.path() + QStringLiteral("/Cues.json"));  // a folder where the file should be
    CueStore store(home.path() + QStringLiteral("/Cues.json"));
    EXPECT_TRUE(errorText([&] { store.load(); }).startsWith(store.file()));
    EXPECT_FALSE(store.readable());
}

TEST(AtomicFileTest, CreatesFoldersReplacesContentAndReportsFailure) {
    kelvara::testing::TestHome home;
    const QString path = home.path() + QStringLiteral("/a/b/file.json");
    kelvara::AtomicFile::write(path, "first");
    kelvara::AtomicFile::write(path, "second");
    EXPECT_EQ(contents(path), "second");
    EXPECT_EQ(QDir(home.path() + QStringLiteral("/a/b")).entryList(QDir::Files), QStringList{QStringLiteral("file.json")});

    // A regular file in place of a parent folder.
    const QString blocked = path + QStringLiteral("/inner.json");
    const QString message = errorText([&] { kelvara::AtomicFile::write(blocked, "x"); });
    EXPECT_TRUE(message.startsWith(path)) << message.toStdString();
    EXPECT_EQ(contents(path), "second");
}
