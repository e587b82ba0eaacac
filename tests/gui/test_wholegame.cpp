// A whole game played through real key events, to its report and its record in the score log.
#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTest>
#include <array>
#include <fstream>
#include <sstream>

#include "game/resource.h"
#include "gui/guifixture.h"

namespace {

using CWholeGameTest = CGuiTest;

std::string ReadFile(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

TEST_F(CWholeGameTest, KeysPlayAGameToItsReportAndItsRecordInTheScoreLog) {
    // A short fall interval, so that the stack reaches the top in a second or two.
    Game().m_nFallTime = 15;
    QString title;
    QString text;
    QMessageBox::Icon icon = QMessageBox::Warning;
    qsizetype nButtons = 0;
    bool bLogWrittenBeforeClose = true;
    OnNextModal([&](QWidget* pModal) {
        auto* pBox = qobject_cast<QMessageBox*>(pModal);
        ASSERT_NE(pBox, nullptr);
        title = pBox->windowTitle();
        text = pBox->text();
        icon = pBox->icon();
        nButtons = pBox->buttons().size();
        bLogWrittenBeforeClose = std::filesystem::exists(ScoreLogPath());
        QTest::keyClick(pBox, Qt::Key_Return);
    });

    QTest::keyClick(&Frame(), Qt::Key_F, Qt::ControlModifier);
    ASSERT_TRUE(Game().m_bRunning);
    const std::array<Qt::Key, 8> aKeys = {Qt::Key_Left,  Qt::Key_Up,   Qt::Key_Left, Qt::Key_End,
                                          Qt::Key_Right, Qt::Key_Down, Qt::Key_Up,   Qt::Key_Space};
    int nPresses = 0;
    int nMaxPieces = 0;
    for (; Game().m_bRunning && nPresses < 5000; ++nPresses) {
        QTest::keyClick(&ViewWidget(), aKeys[static_cast<size_t>(nPresses) % aKeys.size()]);
        nMaxPieces = std::max(nMaxPieces, Game().m_nPieces);
        QTest::qWait(2);
    }
    ASSERT_FALSE(Game().m_bRunning) << "the game ended by itself";
    EXPECT_TRUE(ModalHandled());
    EXPECT_GT(nMaxPieces, 3);

    EXPECT_EQ(title, "Score");
    EXPECT_EQ(icon, QMessageBox::NoIcon);
    EXPECT_EQ(nButtons, 1);
    EXPECT_TRUE(text.startsWith("Score: ")) << text.toStdString();
    EXPECT_TRUE(text.contains(" Nieuw Record!\n")) << "the first game with points is a record";
    EXPECT_TRUE(text.contains("  Breedte veld: 10\n  Hoogte veld: 15\n  Niveau: 1\n"));
    EXPECT_TRUE(text.contains("  Valtijd: 15\n"));
    EXPECT_FALSE(bLogWrittenBeforeClose) << "the record is appended after the box closes";
    EXPECT_EQ(ReadFile(ScoreLogPath()), text.toStdString() + "\n\n");
    EXPECT_TRUE(Frame().GetMessageText().startsWith("Eindscore: "));
    EXPECT_TRUE(Frame().GetAction(ID_GAME_START)->isEnabled());
}

}  // namespace
