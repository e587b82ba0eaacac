// The program while nobody plays: nothing ticks, no sound context stays open, and the lock-key
// panes change only when the X server says so. Runs on offscreen and again on a real X server.
#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTest>
#include <array>
#include <cstring>

#include "gui/guifixture.h"
#include "qt/lockkeys.h"
#include "qt/sound.h"

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
// plays: a sound that fails leaves none, and one stays open until the last of two sounds has ended.
TEST(EventSound, KeepsNoContextOpenBetweenSounds) {
    CEventSound sound;
    sound.Play(MB_ICONEXCLAMATION);  // the suites run with CANBERRA_DRIVER=none: it fails
    EXPECT_FALSE(sound.IsOpen());

    // ALSA's null device takes the theme's sounds, so that they really start and end.
    const QTemporaryDir home;
    QFile asoundrc(home.filePath(QStringLiteral(".asoundrc")));
    ASSERT_TRUE(asoundrc.open(QIODevice::WriteOnly));
    asoundrc.write("pcm.!default { type null }\n");
    asoundrc.close();
    const QByteArray oldHome = qgetenv("HOME");
    const QByteArray oldDriver = qgetenv("CANBERRA_DRIVER");
    qputenv("HOME", QFile::encodeName(home.path()));
    qputenv("CANBERRA_DRIVER", "alsa");
    sound.Play(MB_ICONEXCLAMATION);
    sound.Play(MB_ICONASTERISK);
    const bool bPlaying = !sound.m_bLastWasBell && sound.IsOpen();
    const bool bClosed = QTest::qWaitFor([&] { return !sound.IsOpen(); }, 5000);
    qputenv("HOME", oldHome);
    qputenv("CANBERRA_DRIVER", oldDriver);
    EXPECT_TRUE(bPlaying) << "both sounds play";
    EXPECT_TRUE(bClosed) << "the context closes once both have ended";
}

// An XKB indicator-state event as the X server sends it.
std::array<unsigned char, 32> IndicatorEvent(int nEventBase, std::uint32_t nState) {
    std::array<unsigned char, 32> event{};
    event[0] = static_cast<unsigned char>(nEventBase);
    event[1] = 4;  // XkbIndicatorStateNotify
    event[8] = 3;  // the core keyboard's device id
    std::memcpy(event.data() + 12, &nState, sizeof(nState));
    const std::uint32_t nChanged = 1;
    std::memcpy(event.data() + 16, &nChanged, sizeof(nChanged));
    return event;
}

// Each lock key's light has its own bit in the event; other lights and other events change
// nothing.
TEST(LockKeys, IndicatorEventsDecodeIntoTheLockKeys) {
    const CIndicatorMap map{85, 1u << 0, 1u << 1, 1u << 2};
    const auto decode = [&](const std::array<unsigned char, 32>& event) {
        return DecodeIndicatorEvent(event.data(), map);
    };
    EXPECT_EQ(decode(IndicatorEvent(85, 0b001)), (CLockKeyState{true, false, false}));
    EXPECT_EQ(decode(IndicatorEvent(85, 0b110)), (CLockKeyState{false, true, true}));
    EXPECT_EQ(decode(IndicatorEvent(85, 0xfffffff8u)), CLockKeyState{}) << "other lights";
    EXPECT_EQ(decode(IndicatorEvent(85 | 0x80, 0b010)), (CLockKeyState{false, true, false}))
        << "an event a client sent on";

    std::array<unsigned char, 32> other = IndicatorEvent(85, 0b111);
    other[1] = 2;  // XkbStateNotify
    EXPECT_EQ(decode(other), std::nullopt);
    EXPECT_EQ(decode(IndicatorEvent(86, 0b111)), std::nullopt) << "another extension's event";
    EXPECT_EQ(DecodeIndicatorEvent(IndicatorEvent(85, 0b111).data(), CIndicatorMap{}), std::nullopt)
        << "no XKB, no lock keys";
    const CIndicatorMap noNumLight{85, 1u << 0, 0, 1u << 2};
    EXPECT_EQ(DecodeIndicatorEvent(IndicatorEvent(85, 0xffffffffu).data(), noNumLight),
              (CLockKeyState{true, false, true}));
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
