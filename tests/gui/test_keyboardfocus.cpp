// The keyboard after a box: whatever box closes, the next key goes to the game.
#include <QApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>

#include "app/aboutdlg.h"
#include "app/optionsdlg.h"
#include "game/resource.h"
#include "gui/guifixture.h"

namespace {

class CKeyboardFocusTest : public CGuiTest {
protected:
    // The frame is the active window again and its view has the keyboard.
    ::testing::AssertionResult ViewHasTheKeyboard() {
        const bool bBack = QTest::qWaitFor(
            [&] {
                return QApplication::activeWindow() == &Frame() &&
                       QApplication::focusWidget() == &ViewWidget();
            },
            1000);
        if (bBack) {
            return ::testing::AssertionSuccess();
        }
        const QWidget* pFocus = QApplication::focusWidget();
        return ::testing::AssertionFailure()
               << "active window " << QApplication::activeWindow() << ", focus on "
               << (pFocus != nullptr ? pFocus->metaObject()->className() : "nothing");
    }

    // A key as the keyboard sends it: to whatever has the focus, lost when nothing has.
    static void PressKey(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        if (QWidget* pFocus = QApplication::focusWidget(); pFocus != nullptr) {
            QTest::keyClick(pFocus, key, modifiers);
        }
    }

    // Closes a box with its OK button, as the player would.
    static void ClickOk(QWidget* pModal) {
        QPushButton* pOk = nullptr;
        if (auto* pBox = qobject_cast<QMessageBox*>(pModal); pBox != nullptr) {
            pOk = qobject_cast<QPushButton*>(pBox->button(QMessageBox::Ok));
        } else {
            pOk = pModal->findChild<QPushButton*>(QStringLiteral("IDOK"));
        }
        ASSERT_NE(pOk, nullptr);
        QTest::mouseClick(pOk, Qt::LeftButton);
    }
};

// During a game: the About box, then the report box that ends it.
TEST_F(CKeyboardFocusTest, NextKeyMovesThePieceAfterTheAboutBoxAndTheReport) {
    Game().m_nFallTime = 100000;
    QTest::keyClick(&ViewWidget(), Qt::Key_F, Qt::ControlModifier);
    ASSERT_TRUE(Game().m_bRunning);

    OnNextModal([](QWidget* pModal) {
        EXPECT_NE(qobject_cast<CAboutDlg*>(pModal), nullptr);
        ClickOk(pModal);
    });
    PressKey(Qt::Key_F1);
    ASSERT_TRUE(ModalHandled());
    EXPECT_TRUE(ViewHasTheKeyboard()) << "after the About box";
    const int nCol = Game().m_nCurX;
    PressKey(Qt::Key_Left);
    EXPECT_EQ(Game().m_nCurX, nCol - 1) << "the next key moves the piece";

    OnNextModal([](QWidget* pModal) { ClickOk(pModal); });
    PressKey(Qt::Key_Escape);
    ASSERT_TRUE(ModalHandled());
    EXPECT_FALSE(Game().m_bRunning);
    EXPECT_TRUE(ViewHasTheKeyboard()) << "after the report";
    // The keyboard starts the next game, and its first key moves the piece.
    PressKey(Qt::Key_F, Qt::ControlModifier);
    ASSERT_TRUE(Game().m_bRunning);
    const int nStart = Game().m_nCurX;
    PressKey(Qt::Key_Right);
    EXPECT_EQ(Game().m_nCurX, nStart + 1);

    OnNextModal([](QWidget* pModal) { ClickOk(pModal); });
    PressKey(Qt::Key_Escape);
}

// Between games: the score box, and the Options dialog after a refusal and after OK.
TEST_F(CKeyboardFocusTest, ViewHasTheKeyboardAfterTheScoreBoxAndTheOptions) {
    OnNextModal([](QWidget* pModal) { ClickOk(pModal); });
    Frame().GetAction(ID_GAME_SHOWSCORE)->trigger();
    ASSERT_TRUE(ModalHandled());
    EXPECT_TRUE(ViewHasTheKeyboard()) << "after the score box";

    bool bRefused = false;
    OnNextModal([&](QWidget* pModal) {
        auto* pWidth = pModal->findChild<QLineEdit*>(QStringLiteral("IDC_WIDTH"));
        ASSERT_NE(pWidth, nullptr);
        pWidth->setText(QStringLiteral("9"));
        // The refusal box: the keyboard goes back to the refused edit, not to the game.
        const CModalScript refusal([&bRefused](QWidget* pBox) {
            bRefused = qobject_cast<QMessageBox*>(pBox) != nullptr;
            ClickOk(pBox);
        });
        ClickOk(pModal);
        EXPECT_TRUE(QTest::qWaitFor([&] { return QApplication::focusWidget() == pWidth; }, 1000));
        pWidth->setText(QStringLiteral("12"));
        ClickOk(pModal);
    });
    PressKey(Qt::Key_E, Qt::ControlModifier);
    ASSERT_TRUE(ModalHandled());
    EXPECT_TRUE(bRefused);
    EXPECT_EQ(Doc().m_field.m_nWidth, 12);
    EXPECT_TRUE(ViewHasTheKeyboard()) << "after the Options dialog";

    // Ctrl+F from the keyboard as it stands starts a game.
    PressKey(Qt::Key_F, Qt::ControlModifier);
    EXPECT_TRUE(Game().m_bRunning);
    OnNextModal([](QWidget* pModal) { ClickOk(pModal); });
    PressKey(Qt::Key_Escape);
}

}  // namespace
