// The program itself at the density of the test's Wine prefix (96, or 144 and 192 in prefixes of their
// own): its card is laid out for it, and a real click on the scaled OK button confirms the card.
#include "tests/e2e/QuennelProcess.h"

#include "framework/Scaling.h"

#include <gtest/gtest.h>

namespace {

using DpiProgram = e2e::Running;

TEST_F(DpiProgram, TheCardIsLaidOutForTheDisplayAndItsScaledButtonTakesARealClick) {
    const int ppi = SystemPPI();
    RECT client;
    GetClientRect(card, &client);
    EXPECT_EQ(client.right, ScaleValue(306, ppi));
    EXPECT_EQ(client.bottom, ScaleValue(196, ppi));

    HWND ok = e2e::FindChildByText(card, L"确定");
    ASSERT_NE(ok, nullptr);
    RECT button, design = ScaleRect({120, 160, 209, 190}, ppi);
    GetWindowRect(ok, &button);
    MapWindowPoints(nullptr, card, reinterpret_cast<POINT*>(&button), 2);
    EXPECT_EQ(button.left, design.left);
    EXPECT_EQ(button.top, design.top);
    EXPECT_EQ(button.right, design.right);
    EXPECT_EQ(button.bottom, design.bottom);

    ASSERT_TRUE(test::BringToFront(card));
    // Near the scaled button's lower right corner: a place that is off the button at 100 %.
    POINT at{design.right - ScaleValue(4, ppi), design.bottom - ScaleValue(4, ppi)};
    ClientToScreen(card, &at);
    test::SendClick(at);
    EXPECT_TRUE(test::PumpUntil([&] { return !IsWindowVisible(card); })) << "the click missed the button";
    EXPECT_TRUE(test::PumpUntil([&] { return e2e::QuennelProcess::ShellKnowsIcon(tray); }));
}

} // namespace
