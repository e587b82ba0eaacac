// The program while nobody plays: nothing ticks, no sound context stays open, and the lock-key
// panes change only when the X server says so. Runs on offscreen and again on a real X server.
#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QTest>

#include "gui/guifixture.h"
#include "qt/lockkeys.h"
#include "qt/sound.h"

// Its XKB header names a member "explicit", a C++ keyword.
#define explicit xcb_explicit
#include <xcb/xkb.h>
#undef explicit

namespace {

using CIdleTest = CGuiTest;

// A timer that ticks with nothing to do wakes the processor for nothing.
TEST_F(CIdleTest, NoTimerFiresOnTheStartScreenNorAfterAGame) {
    EXPECT_EQ(TimerEventsDuring(700), std::vector<std::string>{});

    OnNextModal([](QWidget* pModal) { QTest::keyClick(pModal, Qt::Key_Return); });
    QTest::keyClick(&Frame(), Qt::Key_F, Qt::ControlModifier);
    ASSERT_TRUE(Game().m_bRunning);
    QTest::keyClick(&ViewWidget(), Qt::Key_Escape);
    ASSERT_TRUE(QTest::qWaitFor([&] { return ModalHandled() && !Game().m_bRunning; }, 5000));
    Settle();
    EXPECT_EQ(TimerEventsDuring(700), std::vector<std::string>{});
}

// The sound library's context, with its connection to a sound server, lives only while a sound
// plays. (The suites run with CANBERRA_DRIVER=none: every sound fails, and the bell rings.)
TEST(EventSound, KeepsNoContextOpenBetweenSounds) {
    CEventSound sound;
    EXPECT_FALSE(sound.IsOpen());
    sound.Play(MB_ICONEXCLAMATION);
    EXPECT_FALSE(sound.IsOpen());
    EXPECT_TRUE(sound.m_bLastWasBell);
}

// An XKB indicator-state event as the X server sends it.
xcb_xkb_indicator_state_notify_event_t IndicatorEvent(int nEventBase, std::uint32_t nState) {
    xcb_xkb_indicator_state_notify_event_t event{};
    event.response_type = static_cast<std::uint8_t>(nEventBase);
    event.xkbType = XCB_XKB_INDICATOR_STATE_NOTIFY;
    event.deviceID = 3;  // the core keyboard
    event.state = nState;
    event.stateChanged = 1;
    return event;
}

// Each lock key's light has its own bit in the event; other lights and other events change
// nothing.
TEST(LockKeys, IndicatorEventsDecodeIntoTheLockKeys) {
    const CIndicatorMap map{85, 1u << 0, 1u << 1, 1u << 2};
    const auto decode = [&](const xcb_xkb_indicator_state_notify_event_t& event) {
        return DecodeIndicatorEvent(&event, map);
    };
    EXPECT_EQ(decode(IndicatorEvent(85, 0b001)), (CLockKeyState{true, false, false}));
    EXPECT_EQ(decode(IndicatorEvent(85, 0b110)), (CLockKeyState{false, true, true}));
    EXPECT_EQ(decode(IndicatorEvent(85, 0xfffffff8u)), CLockKeyState{}) << "other lights";
    EXPECT_EQ(decode(IndicatorEvent(85 | 0x80, 0b010)), (CLockKeyState{false, true, false}))
        << "an event a client sent on";

    xcb_xkb_indicator_state_notify_event_t other = IndicatorEvent(85, 0b111);
    other.xkbType = XCB_XKB_STATE_NOTIFY;
    EXPECT_EQ(decode(other), std::nullopt);
    EXPECT_EQ(decode(IndicatorEvent(86, 0b111)), std::nullopt) << "another extension's event";
    const auto all = IndicatorEvent(85, 0xffffffffu);
    EXPECT_EQ(DecodeIndicatorEvent(&all, CIndicatorMap{}), std::nullopt) << "no XKB, no lock keys";
    const CIndicatorMap noNumLight{85, 1u << 0, 0, 1u << 2};
    EXPECT_EQ(DecodeIndicatorEvent(&all, noNumLight), (CLockKeyState{true, false, true}));
}

// The panes show the decoded state; nothing known is blank panes that keep their width.
TEST_F(CIdleTest, LockKeyPanesShowTheStateTheyAreGiven) {
    const int nWidth = Frame().m_aIndicators[0]->width();
    Frame().ShowLockKeys(CLockKeyState{true, true, false});
    EXPECT_EQ(LockKeyPanes(), "[CAP][NUM][]");
    Frame().ShowLockKeys(CLockKeyState{false, false, true});
    EXPECT_EQ(LockKeyPanes(), "[][][SCRL]");
    Frame().ShowLockKeys(std::nullopt);
    EXPECT_EQ(LockKeyPanes(), "[][][]");
    EXPECT_EQ(Frame().m_aIndicators[0]->width(), nWidth);
}

}  // namespace
