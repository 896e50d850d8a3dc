// SPDX-License-Identifier: GPL-3.0-or-later
// The pin button's cycle, with linking refused while it cannot start.
#include "i18n/l.h"
#include "view/pin_control.h"

#include <gtest/gtest.h>

namespace kelvara::testing {
namespace {

TEST(PinControlTest, CyclesThroughTheThreeModesAndARefusedLinkStaysPinned) {
    PinControl pin;
    std::optional<QString> refusal = QStringLiteral("no player");
    pin.setLinkCheck([&] { return refusal; });

    pin.cyclePinMode();
    EXPECT_EQ(pin.pinMode(), PinControl::Pinned);
    pin.cyclePinMode();
    EXPECT_EQ(pin.pinMode(), PinControl::Pinned);
    EXPECT_EQ(pin.pinError(), QStringLiteral("no player"));

    refusal.reset();
    pin.cyclePinMode();
    EXPECT_EQ(pin.pinMode(), PinControl::Linked);
    EXPECT_FALSE(pin.pinError()) << "a press clears the last problem";
    EXPECT_EQ(pin.pinHelp(), L("Связано с Music · нажмите для отключения"));
    pin.cyclePinMode();
    EXPECT_EQ(pin.pinMode(), PinControl::Unpinned);
}

TEST(PinControlTest, ABrokenLinkFallsBackToPinnedAndUnpinningClearsTheMessage) {
    PinControl pin;
    int changes = 0;
    QObject::connect(&pin, &PinControl::changed, [&] { ++changes; });
    pin.cyclePinMode();
    pin.cyclePinMode();
    pin.fallBack(QStringLiteral("gone"));
    EXPECT_EQ(pin.pinMode(), PinControl::Pinned);
    EXPECT_EQ(pin.pinError(), QStringLiteral("gone"));
    pin.unpin();
    EXPECT_EQ(pin.pinMode(), PinControl::Unpinned);
    EXPECT_FALSE(pin.pinError());
    EXPECT_EQ(changes, 4);
    pin.unpin();
    EXPECT_EQ(changes, 4) << "no news when nothing changed";
}

}  // namespace
}  // namespace kelvara::testing
