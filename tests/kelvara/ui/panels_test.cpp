// SPDX-License-Identifier: GPL-3.0-or-later
// The grid and cue panels over a real AppState.
#include "audio_files.h"
#include "i18n/l.h"
#include "ui/anchored_popup.h"
#include "ui/beat_grid_panel.h"
#include "ui/content_view.h"
#include "ui/cue_editor_row.h"
#include "ui/cue_panel.h"
#include "window_fixture.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

namespace kelvara::testing {
namespace {

const QString missingFile = QStringLiteral("/nonexistent/track.flac");

class Panels : public WindowFixture {
protected:
    Panels() {
        state->apply(track(missingFile, 300, 12));
        // The missing file ends the analysis with a message and no automatic grid.
        EXPECT_TRUE(waitUntil([this] { return !state->analysis().analysisProgress().has_value(); }));
    }

    BeatGridPanel& gridPanel() { return *static_cast<BeatGridPanel*>(window->content()->gridPopup()->content()); }
    CuePanel& cuePanel() { return *static_cast<CuePanel*>(window->content()->cuePopup()->content()); }

    void typeBpm(const QString& text) {
        gridPanel().bpmField()->setText(text);
        QTest::keyClick(gridPanel().bpmField(), Qt::Key_Return);
    }
};

TEST_F(Panels, TypedBpmTakesACommaAndRefusesSpacesAndWords) {
    EXPECT_EQ(gridPanel().infoText(), L("Устойчивый ритм не найден. Можно ввести BPM вручную."));

    typeBpm(QStringLiteral("128,5"));
    ASSERT_TRUE(state->marks().beatGrid().has_value());
    EXPECT_DOUBLE_EQ(state->marks().beatGrid()->bpm, 128.5);
    EXPECT_DOUBLE_EQ(state->marks().beatGrid()->origin, 12) << "no grid before: the play position starts it";
    EXPECT_EQ(gridPanel().bpmField()->text(), QStringLiteral("128.50"));
    EXPECT_TRUE(gridPanel().infoText().endsWith(L(" · вручную")));
    EXPECT_TRUE(gridPanel().errorText().isEmpty());

    for (const QString& wrong : {QStringLiteral(" 128"), QStringLiteral("abc"), QStringLiteral("301"), QStringLiteral("")}) {
        typeBpm(wrong);
        EXPECT_EQ(gridPanel().errorText(), L("Введите BPM от 30 до 300")) << wrong.toStdString();
        EXPECT_DOUBLE_EQ(state->marks().beatGrid()->bpm, 128.5);
    }
}

TEST_F(Panels, HalvingOutOfRangeShowsTheGridErrorAndRestoreGoesBackToNoGrid) {
    typeBpm(QStringLiteral("40"));
    const auto buttons = gridPanel().findChildren<QPushButton*>();
    const auto byText = [&](const QString& text) {
        const auto found = std::find_if(buttons.begin(), buttons.end(), [&](QPushButton* b) { return b->text() == text; });
        return found == buttons.end() ? nullptr : *found;
    };
    byText(QStringLiteral("÷2"))->click();
    EXPECT_EQ(gridPanel().errorText(), L("BPM должен быть от 30 до 300"));
    EXPECT_DOUBLE_EQ(state->marks().beatGrid()->bpm, 40);

    byText(L("+0,01 с"))->click();
    EXPECT_NEAR(state->marks().beatGrid()->origin, 12.01, 1e-9);

    QPushButton* restore = byText(L("Вернуть автоматическую сетку"));
    ASSERT_TRUE(restore->isEnabled());
    restore->click();
    EXPECT_FALSE(state->marks().beatGrid().has_value());
    EXPECT_FALSE(restore->isEnabled());
    EXPECT_FALSE(byText(QStringLiteral("×2"))->isEnabled()) << "nothing to double without a grid";
    EXPECT_TRUE(gridPanel().bpmField()->text().isEmpty());
}

TEST_F(Panels, ChoosingATempoRangeFoldsTheAutomaticBpmShown) {
    AudioFiles files;
    state->apply(track(files.clickTrack(QStringLiteral("clicks.wav"), 140, 40, 0.5), 18));
    ASSERT_TRUE(waitUntil([&] { return state->marks().beatGrid().has_value(); }));
    ASSERT_NEAR(state->marks().beatGrid()->bpm, 140, 0.5);

    QComboBox* range = gridPanel().tempoRangeBox();
    QTest::keyClick(range, Qt::Key_Down);
    EXPECT_EQ(range->currentText(), QStringLiteral("60–120"));
    EXPECT_NEAR(gridPanel().bpmField()->text().toDouble(), 70, 0.25);
    EXPECT_TRUE(state->bpmLabel().startsWith(QStringLiteral("≈70"))) << state->bpmLabel().toStdString();

    QTest::keyClick(range, Qt::Key_Home);
    EXPECT_EQ(range->currentText(), L("Авто"));
    EXPECT_NEAR(gridPanel().bpmField()->text().toDouble(), 140, 0.5);
}

TEST_F(Panels, CueRowsFollowTheCuesAndSaveTheirNames) {
    CuePanel& panel = cuePanel();
    EXPECT_TRUE(panel.rows().empty());
    panel.addButton()->click();
    panel.addButton()->click();
    ASSERT_EQ(panel.rows().size(), 2u);
    CueEditorRow* row = panel.rows().front();
    EXPECT_EQ(row->labelField()->text(), L("Метка {0}", 1));

    row->labelField()->setText(QStringLiteral("  вокал  "));
    QTest::keyClick(row->labelField(), Qt::Key_Return);
    EXPECT_EQ(state->marks().cues().front().label, QStringLiteral("вокал"));

    row->labelField()->setText(QString(200, QLatin1Char('x')));
    QTest::keyClick(row->labelField(), Qt::Key_Return);
    EXPECT_EQ(state->marks().cues().front().label.size(), 120);

    row->labelField()->setText(QStringLiteral("   "));
    QTest::keyClick(row->labelField(), Qt::Key_Return);
    EXPECT_EQ(state->marks().cues().front().label.size(), 120) << "a blank name is not stored";

    row->removeButton()->click();
    ASSERT_EQ(panel.rows().size(), 1u);
    EXPECT_EQ(panel.rows().front()->cue().label, L("Метка {0}", 2));
}

TEST_F(Panels, CueTimeSeeksOnlyForThePlayingTrackAndWhenUnlocked) {
    state->playback().setSeekLocked(false);
    cuePanel().addButton()->click();
    const CuePoint cue = state->marks().cues().front();
    EXPECT_EQ(cuePanel().footerText(), L("Нажмите на время для перехода к метке."));

    CueEditorRow otherTrack(*state, cue, QStringLiteral("another track"));
    otherTrack.timeButton()->click();
    EXPECT_FALSE(state->playback().previewPosition().has_value());

    cuePanel().rows().front()->timeButton()->click();
    EXPECT_EQ(state->playback().previewPosition(), cue.seconds);

    state->playback().setSeekLocked(true);
    EXPECT_EQ(cuePanel().footerText(), L("🔒 Перемотка выключена. Снимите замок для перехода."));
}

TEST_F(Panels, PopupsFollowTheirFlagsAndClosingClearsThem) {
    AnchoredPopup* popup = window->content()->cuePopup();
    state->view().setShowCues(true);
    EXPECT_TRUE(popup->isVisible());
    popup->close();
    EXPECT_FALSE(state->view().showCues());

    state->view().setShowGridSettings(true);
    EXPECT_TRUE(window->content()->gridPopup()->isVisible());
    state->view().setShowGridSettings(false);
    EXPECT_FALSE(window->content()->gridPopup()->isVisible());
}

}  // namespace
}  // namespace kelvara::testing
