// The program while nobody plays: nothing ticks and no sound context stays open. Runs on
// offscreen and again on a real X server.
#include <QApplication>
#include <QTemporaryDir>
#include <QTest>
#include <fstream>
#include <vector>

#include "gui/guifixture.h"
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
    std::ofstream(home.filePath(QStringLiteral(".asoundrc")).toStdString())
        << "pcm.!default { type null }\n";
    const QByteArray oldHome = qgetenv("HOME");
    const QByteArray oldDriver = qgetenv("CANBERRA_DRIVER");
    qputenv("HOME", home.path().toLocal8Bit());
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

}  // namespace
