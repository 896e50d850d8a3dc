// SPDX-License-Identifier: GPL-3.0-or-later
// The toolbar's vocal button as drawn, offscreen, in each state of the instrumental: nothing
// to play, preparing (a spinner), failed, ready (mint), active (orange, filled) — its help,
// its accessible name and its menus. The states come from the real preparation and a real mpv.
#include "i18n/l.h"
#include "mpv_state_fixture.h"
#include "ui/busy_spinner.h"
#include "ui/content_view.h"
#include "ui/more_menu.h"
#include "ui/system_colors.h"
#include "ui/toolbar.h"
#include "window_fixture.h"

#include <QAction>
#include <QMenu>
#include <QToolButton>

namespace kelvara::testing {
namespace {

// What the button shows, read from its own drawing without the window's background: the
// symbol's colour and how many pixels it covers.
struct Drawn {
    QColor color;
    int coverage = 0;
};

Drawn drawn(QWidget& widget) {
    QImage image(widget.size(), QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    widget.render(&image, {}, {}, QWidget::DrawChildren);
    return {strongestPixel(image), coveredPixels(image)};
}

bool sameColor(const QColor& seen, const QColor& expected) {
    constexpr int tolerance = 8;
    return std::abs(seen.red() - expected.red()) <= tolerance && std::abs(seen.green() - expected.green()) <= tolerance &&
           std::abs(seen.blue() - expected.blue()) <= tolerance && std::abs(seen.alpha() - expected.alpha()) <= tolerance;
}

QString describe(const QColor& color) { return color.name(QColor::HexArgb); }

QMenu& contextMenu(QToolButton& button) { return *button.findChild<QMenu*>(); }

QStringList texts(const QMenu& menu) {
    QStringList items;
    for (const QAction* item : menu.actions()) {
        items << item->text();
    }
    return items;
}

QAction* item(const QMenu& menu, const QString& text) {
    for (QAction* action : menu.actions()) {
        if (action->text() == text) {
            return action;
        }
    }
    return nullptr;
}

const QString missingFile = QStringLiteral("/nonexistent/track.wav");

using VocalButton = WindowFixture;

TEST_F(VocalButton, PreparingSpinsAndAFailedPreparationLeavesTheGreyButtonWithTheReason) {
    Toolbar* toolbar = window->content()->toolbar();
    QToolButton* vocal = toolbar->vocalButton();
    EXPECT_FALSE(vocal->isEnabled()) << "no player";
    EXPECT_EQ(vocal->accessibleName(), L("Убрать вокал"));
    EXPECT_EQ(vocal->toolTip(), L("Подготовка инструментала"));

    state->apply(track(missingFile, 240));
    BusySpinner* spinner = toolbar->vocalSpinner();
    EXPECT_TRUE(spinner->isVisibleTo(window.get()));
    EXPECT_FALSE(vocal->isVisibleTo(window.get()));
    EXPECT_EQ(spinner->toolTip(), L("Готовлю инструментал…"));
    const Drawn turning = drawn(*spinner);
    EXPECT_GT(turning.coverage, 10) << "the spinner draws its arc";
    EXPECT_EQ(turning.color.rgb() & 0xFFFFFF, 0xFFFFFFu) << describe(turning.color).toStdString();
    QMenu& menu = contextMenu(*vocal);
    EXPECT_EQ(texts(menu), (QStringList{L("Готовлю инструментал…"), L("Установить вокальный модуль…"),
                                        L("Готовить инструментал автоматически"), L("Повторить подготовку")}));
    EXPECT_TRUE(item(menu, L("Готовить инструментал автоматически"))->isChecked());
    EXPECT_FALSE(item(menu, L("Повторить подготовку"))->isEnabled()) << "while preparing";

    // The worker finds no file.
    ASSERT_TRUE(waitUntil([&] { return !state->vocals().vocalWorking(); }, 30));
    const QString failure = state->vocals().vocalStatus();
    EXPECT_TRUE(failure.startsWith(L("Не удалось подготовить инструментал: "))) << failure.toStdString();
    EXPECT_TRUE(vocal->isVisibleTo(window.get()));
    EXPECT_FALSE(spinner->isVisibleTo(window.get()));
    EXPECT_TRUE(vocal->isEnabled()) << "pressing it prepares again";
    const Drawn grey = drawn(*vocal);
    EXPECT_TRUE(sameColor(grey.color, SystemColors::white(0.35))) << describe(grey.color).toStdString();
    EXPECT_EQ(vocal->toolTip(), failure);
    EXPECT_EQ(vocal->accessibleName(), L("Убрать вокал"));
    EXPECT_EQ(texts(menu).first(), failure);

    item(menu, L("Повторить подготовку"))->trigger();
    EXPECT_TRUE(spinner->isVisibleTo(window.get()));
    item(menu, L("Готовить инструментал автоматически"))->trigger();  // off: the run stops
    EXPECT_FALSE(state->vocals().autoInstrumental());
    EXPECT_FALSE(spinner->isVisibleTo(window.get()));
}

TEST_F(VocalButton, TheMoreMenuCarriesTheSameItemsInItsOwnOrder) {
    state->apply(track(missingFile, 240));
    MoreMenu* more = window->content()->moreMenu();
    const QStringList items = texts(*more);
    const auto install = items.indexOf(L("Установить вокальный модуль…"));
    ASSERT_GE(install, 0);
    EXPECT_EQ(items.mid(install, 4), (QStringList{L("Установить вокальный модуль…"), L("Готовить инструментал автоматически"),
                                                  L("Готовлю инструментал…"), L("Подготовить инструментал")}));
    EXPECT_FALSE(item(*more, L("Подготовить инструментал"))->isEnabled()) << "while preparing";
    state->setAutoInstrumental(false);
    item(*more, L("Подготовить инструментал"))->trigger();
    EXPECT_TRUE(state->vocals().vocalWorking());
}

class VocalButtonWithMpv : public MpvStateFixture {
protected:
    QToolButton& vocal() const { return *window->content()->toolbar()->vocalButton(); }

    std::unique_ptr<KelvaraWindow> window;
};

TEST_F(VocalButtonWithMpv, ReadyIsMintAndTheModeIsOrangeAndFilledEachWithItsHelpAndName) {
    ASSERT_NO_FATAL_FAILURE(followUntilReady(6));
    window = std::make_unique<KelvaraWindow>(*state, true);
    const Drawn ready = drawn(vocal());
    EXPECT_TRUE(sameColor(ready.color, SystemColors::mint())) << describe(ready.color).toStdString();
    EXPECT_TRUE(vocal().isEnabled());
    EXPECT_EQ(vocal().toolTip(), L("Убрать вокал с текущей позиции"));
    EXPECT_EQ(vocal().accessibleName(), L("Убрать вокал"));
    EXPECT_EQ(texts(contextMenu(vocal())).first(), L("Инструментал готов"));

    vocal().click();
    EXPECT_FALSE(vocal().isEnabled()) << "no second press while switching";
    ASSERT_TRUE(waitUntil([&] { return state->instrumental().vocalActive() && !state->instrumental().vocalSwitching(); }));
    const Drawn active = drawn(vocal());
    EXPECT_TRUE(sameColor(active.color, SystemColors::orange())) << describe(active.color).toStdString();
    EXPECT_GT(active.coverage, ready.coverage + 5) << "the filled symbol";
    EXPECT_EQ(vocal().toolTip(), L("Инструментальный режим · нажмите, чтобы вернуть вокал"));
    EXPECT_EQ(vocal().accessibleName(), L("Вернуть вокал"));

    vocal().click();
    ASSERT_TRUE(waitUntil([&] { return !state->instrumental().vocalActive() && !state->instrumental().vocalSwitching(); }));
    const Drawn back = drawn(vocal());
    EXPECT_TRUE(sameColor(back.color, SystemColors::mint())) << describe(back.color).toStdString();
    EXPECT_EQ(back.coverage, ready.coverage);
    EXPECT_EQ(vocal().accessibleName(), L("Убрать вокал"));
}

}  // namespace
}  // namespace kelvara::testing
