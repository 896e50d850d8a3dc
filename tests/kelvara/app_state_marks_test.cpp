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
    AppState& playing(double position = 12) {
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

TEST_F(AppStateMarks, CuesAreClampedCycleThePaletteAndAreStored) {
    AppState& app = playing();
    for (double seconds : {40.0, -3.0, 400.0, 10.0, 20.0}) {
        app.addCue(seconds);
    }
    const std::vector<CuePoint> added = app.cueTracks().at(QStringLiteral("t1"));
    ASSERT_EQ(added.size(), 5u);
    EXPECT_EQ(added[4].label, L("Метка {0}", 5));
    EXPECT_EQ(added[4].color, 0);  // mint again
    EXPECT_EQ(app.cues().front().seconds, 0);
    EXPECT_EQ(app.cues().back().seconds, 300);

    CuePoint renamed = added[0];
    renamed.label = QStringLiteral("припев");
    app.updateCue(renamed, QStringLiteral("t1"));
    app.removeCue(added[1], QStringLiteral("t1"));
    EXPECT_EQ(makeState().cueTracks().at(QStringLiteral("t1")).front().label, QStringLiteral("припев"));
}

TEST_F(AppStateMarks, DamagedStoresAreReportedAndNeverOverwritten) {
    const QString cues = applicationSupportFile(QStringLiteral("Cues.json"));
    const QString grids = applicationSupportFile(QStringLiteral("BeatGrids.json"));
    const QByteArray badCue = R"({"tracks": {"t1": [{"color": 4, "id": "8D0E5B8A-6F1B-4C1E-9B7A-2C9E3B0F6A11",
                                  "label": "x", "seconds": 1}]}, "version": 1})";
    const QByteArray badGrid = R"({"t1|/music/t1.flac": {"bpm": 120, "origin": 0, "confidence": 1.5}})";
    AtomicFile::write(cues, badCue);
    AtomicFile::write(grids, badGrid);
    AppState& app = playing();
    EXPECT_TRUE(app.cueError()->startsWith(L("Не удалось прочитать метки. Исходный файл сохранён: {0}", QString())));
    EXPECT_TRUE(app.gridError()->startsWith(L("Не удалось прочитать сохранённые сетки: ")));
    app.addCue(12);
    app.saveGrid(BeatGrid{100, 0, 1});
    EXPECT_FALSE(app.beatGrid());
    EXPECT_EQ(read(cues), badCue);
    EXPECT_EQ(read(grids), badGrid);
}

TEST_F(AppStateMarks, ManualGridBelongsToTheTrackAndItsFile) {
    AppState& app = playing();
    EXPECT_EQ(app.bpmLabel(), QStringLiteral("BPM …"));  // the analysis of the missing file is under way
    app.saveGrid(BeatGrid{128, 0.42, 1});
    EXPECT_EQ(app.bpmLabel(), QStringLiteral("128.0"));
    app.saveGrid(BeatGrid{301, 0.42, 1});
    EXPECT_EQ(app.gridError(), L("BPM должен быть от 30 до 300"));
    EXPECT_EQ(app.beatGrid()->bpm, 128);
    app.chooseFile(QStringLiteral("t1"), QStringLiteral("/music/other.flac"));
    EXPECT_FALSE(app.gridIsManual());
}

TEST_F(AppStateMarks, LoopClicksCutWholeSquaresUntilTheTrackChanges) {
    AppState& app = playing(12);
    app.loopClick(10);
    EXPECT_EQ(app.seekNotice(), L("Для повтора участка задайте BPM"));
    app.saveGrid(BeatGrid{120, 0.5, 1});  // squares of 8 s from 0.5 s
    app.loopClick(296);
    EXPECT_EQ(app.loopIn(), 288.5);  // the last start with a whole square after it
    app.setLoopIn(std::nullopt);

    app.loopClick(10);
    EXPECT_EQ(app.loopIn(), 8.5);
    app.saveGrid(BeatGrid{100, 0, 1});  // a grid change between the clicks does not move the start
    app.loopClick(30);
    EXPECT_EQ(app.activeLoop(), (LoopRegion{8.5, 32.5}));
    EXPECT_FALSE(app.previewPosition());  // 12 s lies inside: no seek
    app.saveGrid(BeatGrid{120, 0.5, 1});
    app.loopClick(10);
    EXPECT_FALSE(app.activeLoop());
    app.loopClick(9);
    EXPECT_EQ(app.activeLoop(), (LoopRegion{8.5, 16.5}));
    clock->advance(0);
    EXPECT_EQ(clock->sleepers(), 1u);  // the watcher of this loop alone

    app.apply(track(QStringLiteral("t2"), QStringLiteral("/music/t2.flac"), 0, true));
    EXPECT_FALSE(app.activeLoop() || app.loopSelection() || app.loopIn());
    clock->advance(0.1);
    EXPECT_EQ(clock->sleepers(), 0u);
}

}  // namespace
}  // namespace kelvara::testing
