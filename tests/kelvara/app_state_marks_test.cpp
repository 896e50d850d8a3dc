// SPDX-License-Identifier: GPL-3.0-or-later
// Cues, manual grids and loop clicks of AppState, and their files.
#include "app_state_fixture.h"

#include "i18n/l.h"

#include "storage/application_support.h"
#include "storage/atomic_file.h"

#include <QFile>

namespace kelvara::testing {
namespace {

class AppStateMarks : public AppStateFixture {
protected:
    AppState& playing(double position = 20) {
        AppState& app = makeState();
        app.setSeekLocked(false);
        app.apply(track(QStringLiteral("t1"), QStringLiteral("/music/t1.flac"), position, true));
        return app;
    }

    static QByteArray read(const QString& path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
};

TEST_F(AppStateMarks, CuesCycleThePaletteAndSurviveARestart) {
    AppState& app = playing();
    for (double seconds : {40.0, -3.0, 400.0, 10.0, 20.0}) {
        app.addCue(seconds);
    }
    const std::vector<CuePoint> added = app.cueTracks().at(QStringLiteral("t1"));
    ASSERT_EQ(added.size(), 5u);
    EXPECT_EQ(added[4].label, L("Метка {0}", 5));
    EXPECT_EQ(added[4].color, 0);  // mint again
    EXPECT_EQ(added[1].seconds, 0);
    EXPECT_EQ(added[2].seconds, 300);
    EXPECT_EQ(app.cues().front().seconds, 0);
    EXPECT_EQ(app.cues().back().seconds, 300);

    CuePoint renamed = added[0];
    renamed.label = QStringLiteral("припев");
    app.updateCue(renamed, QStringLiteral("t1"));
    app.removeCue(added[1], QStringLiteral("t1"));
    app.updateCue(added[1], QStringLiteral("t1"));  // gone: nothing to update

    AppState& restarted = makeState();
    const std::vector<CuePoint> stored = restarted.cueTracks().at(QStringLiteral("t1"));
    ASSERT_EQ(stored.size(), 4u);
    EXPECT_EQ(stored[0].label, QStringLiteral("припев"));
    EXPECT_FALSE(restarted.cueError());
}

TEST_F(AppStateMarks, UnreadableCueFileIsReportedAndNeverOverwritten) {
    const QString file = applicationSupportFile(QStringLiteral("Cues.json"));
    const QByteArray damaged = R"({"tracks": {"t1": [{"color": 4, "id": "8D0E5B8A-6F1B-4C1E-9B7A-2C9E3B0F6A11",
                                   "label": "x", "seconds": 1}]}, "version": 1})";
    AtomicFile::write(file, damaged);
    AppState& app = playing();
    ASSERT_TRUE(app.cueError());
    EXPECT_TRUE(app.cueError()->startsWith(L("Не удалось прочитать метки. Исходный файл сохранён: {0}", QString())));
    app.addCue(12);
    EXPECT_EQ(read(file), damaged);
}

TEST_F(AppStateMarks, ManualGridWinsForItsFileAndAnInvalidGridFileIsKept) {
    AppState& app = playing();
    EXPECT_EQ(app.bpmLabel(), QStringLiteral("BPM …"));  // the analysis of the missing file runs
    app.saveGrid(BeatGrid{128, 0.42, 1});
    EXPECT_TRUE(app.gridIsManual());
    EXPECT_EQ(app.bpmLabel(), QStringLiteral("128.0"));
    app.saveGrid(BeatGrid{301, 0.42, 1});
    EXPECT_EQ(app.gridError(), L("BPM должен быть от 30 до 300"));
    EXPECT_EQ(app.beatGrid()->bpm, 128);

    app.chooseFile(QStringLiteral("t1"), QStringLiteral("/music/other.flac"));
    EXPECT_FALSE(app.gridIsManual());  // a manual grid belongs to one file

    const QString file = applicationSupportFile(QStringLiteral("BeatGrids.json"));
    const QByteArray damaged = R"({"t1|/music/t1.flac": {"bpm": 120, "origin": 0, "confidence": 1.5}})";
    AtomicFile::write(file, damaged);
    AppState& restarted = playing();
    ASSERT_TRUE(restarted.gridError());
    EXPECT_TRUE(restarted.gridError()->startsWith(L("Не удалось прочитать сохранённые сетки: ")));
    restarted.saveGrid(BeatGrid{100, 0, 1});
    EXPECT_FALSE(restarted.beatGrid());
    EXPECT_EQ(read(file), damaged);
}

TEST_F(AppStateMarks, TwoLoopClicksCutWholeSquaresOfTheGridInForce) {
    AppState& app = playing(12);
    app.loopClick(10);
    EXPECT_EQ(app.seekNotice(), L("Для повтора участка задайте BPM"));

    app.saveGrid(BeatGrid{120, 0.5, 1});  // squares of 8 s from 0.5 s
    app.loopClick(10);
    EXPECT_EQ(app.loopIn(), 8.5);
    EXPECT_EQ(app.seekNotice(), L("Вход □ · ⌘ + клик для выхода по квадрату"));
    app.saveGrid(BeatGrid{100, 0, 1});  // a grid change between the clicks does not move the start
    app.loopClick(30);
    EXPECT_EQ(app.loopSelection(), (LoopRegion{8.5, 32.5}));
    EXPECT_EQ(app.activeLoop(), app.loopSelection());
    EXPECT_FALSE(app.loopIn());
    EXPECT_FALSE(app.previewPosition());  // 12 s lies inside: no seek

    app.saveGrid(BeatGrid{120, 0.5, 1});
    app.loopClick(10);
    EXPECT_FALSE(app.activeLoop());
    EXPECT_FALSE(app.loopSelection());
    app.loopClick(9);
    EXPECT_EQ(app.loopSelection(), (LoopRegion{8.5, 16.5}));

    app.loopClick(296);
    EXPECT_EQ(app.loopIn(), 288.5);  // the last start with a whole square after it
    app.setSeekLocked(true);
    EXPECT_FALSE(app.loopIn());
    EXPECT_FALSE(app.activeLoop());
    app.loopClick(10);
    EXPECT_EQ(app.seekNotice(), L("Перемотка выключена · снимите замок"));
}

TEST_F(AppStateMarks, TrackChangeEndsTheLoopWatcherAndClearsTheRegions) {
    AppState& app = playing(20);
    app.saveGrid(BeatGrid{120, 0.5, 1});
    app.loopClick(10);
    app.loopClick(30);
    ASSERT_TRUE(app.activeLoop());
    EXPECT_EQ(clock->sleepers(), 1u);  // the watcher

    app.apply(track(QStringLiteral("t2"), QStringLiteral("/music/t2.flac"), 0, true));
    EXPECT_FALSE(app.activeLoop());
    EXPECT_FALSE(app.loopSelection());
    clock->advance(0.1);
    EXPECT_EQ(clock->sleepers(), 0u);
}

}  // namespace
}  // namespace kelvara::testing
