// SPDX-License-Identifier: GPL-3.0-or-later
// The main window over a real AppState: toolbar, overlay, slider, rows, commands and the strip's
// link to the state.
#include "audio_files.h"
#include "i18n/l.h"
#include "storage/application_support.h"
#include "storage/atomic_file.h"
#include "ui/analysis_overlay.h"
#include "ui/anchored_popup.h"
#include "ui/beat_grid_panel.h"
#include "ui/content_view.h"
#include "ui/message_row.h"
#include "ui/more_menu.h"
#include "ui/strip_binding.h"
#include "ui/toolbar.h"
#include "ui/viewport_slider.h"
#include "ui/waveform_view.h"
#include "ui/window_commands.h"
#include "window_fixture.h"

#include <QAction>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

namespace kelvara::testing {
namespace {

using MainWindow = WindowFixture;

class PaintCounter : public QObject {
public:
    PaintCounter(QWidget* widget, int& count) : count_(count) { widget->installEventFilter(this); }

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        count_ += event->type() == QEvent::Paint ? 1 : 0;
        return false;
    }

private:
    int& count_;
};

const QString missingFile = QStringLiteral("/nonexistent/track.flac");

TEST_F(MainWindow, TitleFallsBackToTheProgramsWordsAndItsHelpSkipsEmptyParts) {
    Toolbar* toolbar = window->content()->toolbar();
    EXPECT_EQ(toolbar->titleText(), L("Звуковая волна"));

    MusicSnapshot snapshot = track(missingFile, 200);
    snapshot.title = QStringLiteral("Song");
    snapshot.artist = QStringLiteral("Band");
    state->apply(snapshot);
    EXPECT_EQ(toolbar->titleText(), QStringLiteral("Song"));
    EXPECT_EQ(toolbar->artistText(), QStringLiteral("Band"));
    EXPECT_EQ(toolbar->titleHelp(), QStringLiteral("Song · Band")) << "no album, no empty part";

    state->view().setCompact(true);
    EXPECT_TRUE(toolbar->artistText().isEmpty()) << "compact mode hides the artist";
}

TEST_F(MainWindow, ZoomButtonAndSliderShowExactlyWhileZoomedIn) {
    Toolbar* toolbar = window->content()->toolbar();
    ViewportSlider* slider = window->content()->slider();
    WindowCommands* commands = window->commands();
    commands->zoomOut()->trigger();
    EXPECT_TRUE(toolbar->zoomButton()->isHidden());
    EXPECT_TRUE(slider->isHidden());

    commands->zoomIn()->trigger();
    EXPECT_DOUBLE_EQ(state->view().viewport().zoom, 1.5);
    EXPECT_FALSE(toolbar->zoomButton()->isHidden());
    EXPECT_EQ(toolbar->zoomButton()->text(), QStringLiteral("1.5×"));
    EXPECT_FALSE(slider->isHidden());

    // The slider sets the start, held inside the track.
    slider->setValue(ViewportSlider::resolution);
    EXPECT_NEAR(state->view().viewport().start, 1 - 1 / 1.5, 1e-9);

    commands->wholeTrack()->trigger();
    EXPECT_TRUE(toolbar->zoomButton()->isHidden());
    EXPECT_TRUE(slider->isHidden());
    EXPECT_EQ(state->view().viewport(), WaveformViewport{});
}

TEST_F(MainWindow, PlayAndAddCueNeedAControllableTrackWithADuration) {
    WindowCommands* commands = window->commands();
    EXPECT_FALSE(window->content()->toolbar()->playButton()->isEnabled()) << "no player running";
    EXPECT_FALSE(commands->playPause()->isEnabled());

    state->apply(track(missingFile, 0));
    EXPECT_TRUE(commands->playPause()->isEnabled());
    EXPECT_FALSE(commands->addCue()->isEnabled()) << "duration 0";

    state->apply(track(missingFile, 240));
    EXPECT_TRUE(commands->addCue()->isEnabled());
    commands->addCue()->trigger();
    EXPECT_EQ(state->marks().cues().size(), 1u);
}

TEST_F(MainWindow, OverlayShowsTheMessageUntilTheWaveformArrives) {
    AnalysisOverlay* overlay = window->content()->overlay();
    EXPECT_FALSE(overlay->isHidden());
    EXPECT_EQ(overlay->text(), L("Ожидание Music"));

    AudioFiles files;
    state->apply(track(files.tone(QStringLiteral("tone.wav"), 8), 8));
    ASSERT_TRUE(waitUntil([&] { return state->analysis().waveform().has_value(); }));
    EXPECT_TRUE(overlay->isHidden());
    EXPECT_TRUE(window->content()->strip()->hasWaveform());
}

// A message that wraps keeps all its lines within a strip of the window's size, as shown.
TEST(AnalysisOverlayShown, AWrappedMessageGetsTheHeightOfAllItsLines) {
    QWidget strip;
    auto* stack = new QGridLayout(&strip);
    auto* overlay = new AnalysisOverlay(&strip);
    stack->addWidget(overlay, 0, 0);
    overlay->showState(false, L("Music закрыта — откройте приложение «Музыка»"), std::nullopt, false);
    strip.setFixedSize(616, 48);  // the strip of the default window: room for two lines at most
    strip.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&strip));
    const auto* message = overlay->findChild<QLabel*>();
    EXPECT_GE(message->height(), message->heightForWidth(message->width()));
}

TEST_F(MainWindow, BackgroundIsOpaqueGreyWithoutACompositorAndRoundedWithOne) {
    KelvaraWindow opaque(*state, false);
    const QImage plain = opaque.grab().toImage();
    EXPECT_EQ(plain.pixelColor(1, 1), QColor(41, 41, 41));
    EXPECT_EQ(plain.pixelColor(plain.width() - 2, plain.height() - 2), QColor(41, 41, 41));

    const QImage glass = window->grab().toImage();
    EXPECT_EQ(glass.pixelColor(0, 0).alpha(), 0) << "rounded corner";
    EXPECT_GT(glass.pixelColor(glass.width() / 2, 3).alpha(), 200) << "dark surface along the top edge";
}

TEST_F(MainWindow, LockedClickLeavesThePlayerAloneAndShowsTheNoticeOnTheStrip) {
    state->apply(track(missingFile, 100, 10));
    ASSERT_TRUE(state->playback().seekLocked());
    clickStrip(200);
    EXPECT_FALSE(state->playback().previewPosition().has_value()) << "nothing was sent";
    EXPECT_EQ(state->playback().seekNotice(), L("Перемотка выключена · снимите замок"));
    EXPECT_EQ(window->content()->strip()->scene().seekNotice, state->playback().seekNotice());
}

TEST_F(MainWindow, ShiftOrAltClickAddsACueAndCtrlClickWithoutGridAsksForBpm) {
    state->apply(track(missingFile, 100, 10));
    state->playback().setSeekLocked(false);
    const double width = window->content()->strip()->width();
    clickStrip(width / 4, Qt::ShiftModifier);
    clickStrip(width / 2, Qt::AltModifier);
    ASSERT_EQ(state->marks().cues().size(), 2u);
    EXPECT_NEAR(state->marks().cues()[0].seconds, 25, 0.01);
    EXPECT_NEAR(state->marks().cues()[1].seconds, 50, 0.01);
    EXPECT_EQ(window->content()->strip()->scene().cues.size(), 2u);

    clickStrip(width / 2, Qt::ControlModifier);
    EXPECT_EQ(state->playback().seekNotice(), L("Для повтора участка задайте BPM"));
}

TEST_F(MainWindow, SeekToAMissingPlayerShowsTheErrorRowAndRetryClearsIt) {
    state->apply(track(missingFile, 100, 10));
    state->playback().setSeekLocked(false);
    clickStrip(100);
    EXPECT_TRUE(state->playback().previewPosition().has_value()) << "shown at once while the seek is on its way";
    MessageRow* row = window->content()->errorRow();
    ASSERT_TRUE(waitUntil([&] { return !row->isHidden(); }, 15)) << "the bridge finds no player";
    EXPECT_EQ(row->message(), state->playback().controlError().value_or(QString()));
    row->button()->click();
    EXPECT_TRUE(row->isHidden());
}

// While paused nothing animates, so a position that jumps (a seek's reply, a poll after the
// player was moved elsewhere) must repaint the strip by itself — and nothing else must.
TEST_F(MainWindow, PausedPositionJumpRepaintsTheStripAndNothingElseDoes) {
    WaveformView strip;
    StripBinding binding(*state, strip);
    strip.resize(400, 80);
    strip.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&strip));
    int paints = 0;
    PaintCounter counter(&strip, paints);
    state->apply(track(missingFile, 100, 10));
    // The track's first frame has to be on screen before nothing more may be painted.
    ASSERT_TRUE(waitUntil([&] { return paints > 0; }));
    QTest::qWait(50);

    paints = 0;
    state->apply(track(missingFile, 100, 10));
    QTest::qWait(100);
    EXPECT_EQ(paints, 0) << "the same state again";
    state->apply(track(missingFile, 100, 60));
    EXPECT_TRUE(waitUntil([&] { return paints > 0; }));
    EXPECT_FALSE(strip.isAnimating());
}

// The damaged files stay as they are; an edit they refuse says why in the window itself, since
// the panels that show the load error may well be closed.
TEST_F(MainWindow, AnEditRefusedByADamagedStoreShowsItsErrorUntilClosed) {
    AtomicFile::write(applicationSupportFile(QStringLiteral("Cues.json")), "not json");
    AtomicFile::write(applicationSupportFile(QStringLiteral("BeatGrids.json")), "[]");
    openWindow();
    MessageRow* row = window->content()->noticeRow();
    state->apply(track(missingFile, 100, 10));
    EXPECT_TRUE(row->isHidden()) << "nothing refused yet";

    clickStrip(window->content()->strip()->width() / 4, Qt::ShiftModifier);
    EXPECT_FALSE(row->isHidden());
    EXPECT_EQ(row->message(), state->marks().cueError().value_or(QString()));
    row->button()->click();
    EXPECT_TRUE(row->isHidden());

    auto* grids = static_cast<BeatGridPanel*>(window->content()->gridPopup()->content());
    grids->bpmField()->setText(QStringLiteral("120"));
    QTest::keyClick(grids->bpmField(), Qt::Key_Return);
    EXPECT_FALSE(row->isHidden());
    EXPECT_EQ(row->message(), state->marks().gridError().value_or(QString()));
    EXPECT_TRUE(state->marks().cueTracks().empty());
}

TEST_F(MainWindow, FileItemsNeedATrack) {
    MoreMenu* menu = window->content()->moreMenu();
    emit menu->aboutToShow();
    EXPECT_FALSE(menu->chooseFileItem()->isEnabled());
    EXPECT_FALSE(menu->resetFileItem()->isEnabled());
    state->apply(track(missingFile, 100));
    emit menu->aboutToShow();
    EXPECT_TRUE(menu->chooseFileItem()->isEnabled());
    EXPECT_TRUE(menu->resetFileItem()->isEnabled());
    EXPECT_TRUE(menu->retryItem()->isEnabled());
}

}  // namespace
}  // namespace kelvara::testing
