// SPDX-License-Identifier: GPL-3.0-or-later
// Cues and manual grids over a stand-in for the playing track, and their files.
#include "app_state_fixture.h"
#include "marks/stand_in_context.h"

#include "i18n/l.h"
#include "marks/track_marks.h"
#include "storage/application_support.h"
#include "storage/atomic_file.h"

#include <QFile>
#include <QFileInfo>

namespace kelvara::testing {
namespace {

// An analysis that found `grid`; its points do not matter here.
Waveform analysedWith(const BeatGrid& grid) {
    Waveform waveform;
    waveform.beatGrid = grid;
    return waveform;
}

class Marks : public AppStateFixture {
protected:
    // Made anew, as at a start of the program: the files are read again. The marks made
    // before are gone first, their writes done.
    TrackMarks& makeMarks() {
        marks.reset();
        marks = std::make_unique<TrackMarks>(context);
        return *marks;
    }
    static QByteArray read(const QString& path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    const QString cueFile = applicationSupportFile(QStringLiteral("Cues.json"));
    const QString gridFile = applicationSupportFile(QStringLiteral("BeatGrids.json"));
    StandInContext context;
    std::unique_ptr<TrackMarks> marks;
};

TEST_F(Marks, CuesAreClampedCycleThePaletteAndAreStored) {
    TrackMarks& app = makeMarks();
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
    EXPECT_EQ(makeMarks().cueTracks().at(QStringLiteral("t1")).front().label, QStringLiteral("припев"));
}

TEST_F(Marks, DamagedStoresAreReportedRefuseEditsWithTheirErrorAndAreNeverOverwritten) {
    const QByteArray badCue = R"({"tracks": {"t1": [{"color": 4, "id": "8D0E5B8A-6F1B-4C1E-9B7A-2C9E3B0F6A11",
                                  "label": "x", "seconds": 1}]}, "version": 1})";
    const QByteArray badGrid = R"({"t1|/music/t1.flac": {"bpm": 120, "origin": 0, "confidence": 1.5}})";
    AtomicFile::write(cueFile, badCue);
    AtomicFile::write(gridFile, badGrid);
    TrackMarks& app = makeMarks();
    EXPECT_TRUE(app.cueError()->startsWith(L("Не удалось прочитать метки. Исходный файл сохранён: {0}", QString())));
    EXPECT_TRUE(app.gridError()->startsWith(L("Не удалось прочитать сохранённые сетки: ")));
    EXPECT_FALSE(app.storeNotice());  // said in the panels; the window speaks when an edit is refused

    context.controllable = false;
    app.addCue(12);
    EXPECT_FALSE(app.storeNotice());  // refused for want of a track, as with a sound store
    context.controllable = true;
    app.addCue(12);
    EXPECT_EQ(app.storeNotice(), app.cueError());
    app.dismissStoreNotice();
    app.saveGrid(BeatGrid{100, 0, 1});
    EXPECT_EQ(app.storeNotice(), app.gridError());
    EXPECT_FALSE(app.beatGrid());

    marks.reset();  // any write would be done by now
    EXPECT_EQ(read(cueFile), badCue);
    EXPECT_EQ(read(gridFile), badGrid);
}

TEST_F(Marks, ManualGridBelongsToTheTrackAndItsFile) {
    context.analysis = analysedWith({90, 0.1, 0.5});
    TrackMarks& app = makeMarks();
    EXPECT_FALSE(app.gridIsManual());
    app.saveGrid(BeatGrid{128, 0.42, 1});
    EXPECT_TRUE(app.gridIsManual());
    app.saveGrid(BeatGrid{301, 0.42, 1});
    EXPECT_EQ(app.gridError(), L("BPM должен быть от 30 до 300"));
    EXPECT_EQ(app.beatGrid()->bpm, 128);
    app.saveGrid(BeatGrid{130, 0.42, 1});
    EXPECT_FALSE(app.gridError());  // a valid grid answers the complaint at once

    context.file = QStringLiteral("/music/other.flac");  // the user chose another file
    EXPECT_FALSE(app.gridIsManual());
    EXPECT_EQ(app.beatGrid()->bpm, 90);
}

// The range applies to the analysis' own grid as it is read, so a new range or analysis needs no
// new decoding; a grid set by hand stays as set.
TEST_F(Marks, TheAutomaticGridIsFoldedIntoTheRangeAndAManualOneIsNot) {
    context.analysis = analysedWith({87, 0.3, 0.6});
    TrackMarks& app = makeMarks();
    EXPECT_EQ(app.beatGrid(), (BeatGrid{87, 0.3, 0.6}));
    context.range = TempoRange{90};
    EXPECT_EQ(app.beatGrid(), (BeatGrid{174, 0.3, 0.6}));
    context.analysis = analysedWith({200, 0.3, 0.6});
    EXPECT_EQ(app.beatGrid(), (BeatGrid{100, 0.3, 0.6}));

    app.saveGrid(BeatGrid{87, 0.3, 1});
    EXPECT_EQ(app.beatGrid()->bpm, 87);
    context.range = TempoRange{};
    app.saveGrid(std::nullopt);
    EXPECT_EQ(app.beatGrid()->bpm, 200);
}

// Each edit rewrites the whole file off the main thread; the last one written is the last made,
// even when the marks go right after it, as at quitting.
TEST_F(Marks, QuickEditsLeaveTheLastContentOnDiskWhenTheMarksGoAtOnce) {
    TrackMarks& app = makeMarks();
    for (int n = 0; n < 200; ++n) {
        app.addCue(n);
        app.saveGrid(BeatGrid{60.0 + n, 0, 1});
    }
    marks.reset();
    TrackMarks& again = makeMarks();
    EXPECT_EQ(again.cueTracks().at(QStringLiteral("t1")).size(), 200u);
    EXPECT_EQ(again.beatGrid()->bpm, 259);
}

TEST_F(Marks, AFailedWriteIsShownAndTheEditStaysForTheRun) {
    TrackMarks& app = makeMarks();
    const QString folder = QFileInfo(cueFile).path();
    AtomicFile::write(folder, "a file where the folder belongs");
    app.addCue(10);
    app.saveGrid(BeatGrid{120, 0, 1});
    ASSERT_TRUE(waitUntil([&] { return app.cueError() && app.gridError(); }));
    EXPECT_TRUE(app.cueError()->startsWith(L("Метки пока не сохранены на диск: {0}", QString())));
    EXPECT_TRUE(app.gridError()->startsWith(L("Сетка пока не сохранена: ")));
    EXPECT_EQ(app.cues().size(), 1u);
    EXPECT_TRUE(app.gridIsManual());

    QFile::remove(folder);
    app.addCue(20);
    ASSERT_TRUE(waitUntil([&] { return !app.cueError(); }));  // the next write that lands clears it
    EXPECT_FALSE(app.storeNotice());  // nothing was refused
}

}  // namespace
}  // namespace kelvara::testing
