// The program while nobody plays: nothing ticks. Runs on offscreen and again on a real X server.
#include <QApplication>
#include <QTest>
#include <vector>

#include "gui/guifixture.h"

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

}  // namespace
