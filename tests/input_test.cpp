#include <gtest/gtest.h>

#include "fake_window.h"
#include "game/fizmo_view.h"

namespace {

class Input : public ::testing::Test {
protected:
    Input() : view(&window, &random) {
        view.OnSize(0, 640, 480);
        random.fallback = -1;
        random.calls = 0;
        g_nNextShot = 0;  // as at program start
    }
    void Click() { view.OnLButtonDown(0, 3, 4); }
    void Char(char c) { view.OnChar(static_cast<unsigned char>(c), 1, 0); }

    FakeWindow window;
    ScriptedRandom random{1};  // construction draws speeds and operands
    CFizmoView view;
};

TEST_F(Input, ScrollSpeedKeysClampAtBothEnds) {
    for (char c : {'z', 'Z', 'z'}) Char(c);
    EXPECT_EQ(view.m_nScrollSpeed, 50);
    Char('Z');
    EXPECT_EQ(view.m_nScrollSpeed, 50);
    for (char c : {'x', 'X', 'x', 'X', 'x'}) Char(c);
    EXPECT_EQ(view.m_nScrollSpeed, 0);
    Char('x');
    EXPECT_EQ(view.m_nScrollSpeed, 0);
    for (char c : {'a', 'y', '2', '\r'}) Char(c);
    EXPECT_EQ(view.m_nScrollSpeed, 0);
}

TEST_F(Input, ShotsTakeSlotsFromOneAndWrapToReuseAFlyingSlot) {
    view.OnMouseMove(0, 100, 50);
    EXPECT_EQ(view.m_nShipX, 12);
    EXPECT_EQ(view.m_nShipY, -38) << "nothing clamps the ship";
    Click();
    EXPECT_EQ(g_nNextShot, 1);
    EXPECT_EQ(view.m_bShotActive[1], 1);
    EXPECT_EQ(view.m_nShotX[1], 92) << "the click's own position is ignored";
    EXPECT_EQ(view.m_nShotY[1], 27);
    EXPECT_EQ(view.m_bShotActive[0], 0);

    view.m_nShotX[1] = -40;  // still in flight
    for (int i = 2; i <= 30; ++i) Click();
    EXPECT_EQ(g_nNextShot, 0);
    EXPECT_EQ(view.m_bShotActive[0], 1);
    view.OnMouseMove(0, 400, 300);
    Click();
    EXPECT_EQ(g_nNextShot, 1);
    EXPECT_EQ(view.m_nShotX[1], 312 + 80) << "back at the ship";
    EXPECT_EQ(view.m_nShotY[1], 212 + 65);
}

TEST_F(Input, DoubleAndRightClicksDoNothing) {
    view.OnLButtonDblClk(0, 10, 10);
    view.OnRButtonDown(0, 10, 10);
    EXPECT_EQ(g_nNextShot, 0);
    for (int j = 0; j < kShots; ++j) EXPECT_EQ(view.m_nShotX[j], -100);
}

TEST_F(Input, SpaceDrawsAThenBAndRestartsTheAnswer) {
    view.m_nDigitIndex = 1;
    view.m_strEntered = std::string("5");
    view.m_nScore = 40;
    random.values = {23, 37};
    Char(' ');
    EXPECT_EQ(view.m_nOperandA, 3);
    EXPECT_EQ(view.m_nOperandB, 7);
    EXPECT_EQ(view.m_nDigitIndex, 0);
    EXPECT_EQ(view.m_strEntered, "");
    EXPECT_EQ(view.m_nScore, 40);

    // In word problems the operands change unseen and the answer begins again.
    view.m_nQuizMode = 3;
    view.m_nDigitIndex = 2;
    random.values = {1, 2};
    Char(' ');
    EXPECT_EQ(view.m_nDigitIndex, 0);
    EXPECT_EQ(random.calls, 4);
}

TEST_F(Input, KeypadMovesThirtyAndArrowsDoNothing) {
    view.m_nShipX = 10;
    view.m_nShipY = 10;
    view.OnKeyDown(0x62, 1, 0);
    view.OnKeyDown(0x66, 1, 0);
    EXPECT_EQ(view.m_nShipX, 40);
    EXPECT_EQ(view.m_nShipY, 40);
    view.OnKeyDown(0x64, 1, 0);
    view.OnKeyDown(0x64, 1, 0);
    view.OnKeyDown(0x68, 1, 0);
    view.OnKeyDown(0x68, 1, 0);
    EXPECT_EQ(view.m_nShipX, -20);
    EXPECT_EQ(view.m_nShipY, -20);
    for (unsigned key = 0x25; key <= 0x28; ++key) view.OnKeyDown(key, 1, 0);
    for (unsigned key : {0x32u, 0x38u, 0x60u, 0x65u}) view.OnKeyDown(key, 1, 0);
    EXPECT_EQ(view.m_nShipX, -20);
    EXPECT_EQ(view.m_nShipY, -20);
}

TEST_F(Input, NoHandlerRepaintsOrStartsAnything) {
    random.fallback = 0;
    view.OnMouseMove(0, 300, 300);
    Click();
    view.OnLButtonDblClk(0, 1, 1);
    view.OnRButtonDown(0, 1, 1);
    for (char c : {'z', 'x', ' '}) Char(c);
    view.OnKeyDown(0x62, 1, 0);
    EXPECT_TRUE(window.invalidations.empty());
    EXPECT_EQ(window.paints, 0);
    EXPECT_FALSE(window.timerRunning);
    // A click before Start places a missile that waits for the timer.
    EXPECT_EQ(view.m_bShotActive[1], 1);
    EXPECT_EQ(view.m_nShotX[1], 292);
}

}  // namespace
