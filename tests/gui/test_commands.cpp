// The command table while a game runs: refused from every source, About still there.
#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QStatusBar>
#include <QTest>
#include <QToolBar>

#include "app/aboutdlg.h"
#include "app/optionsdlg.h"
#include "game/resource.h"
#include "gui/guifixture.h"

namespace {

using CCommandTest = CGuiTest;

constexpr UINT kIdleOnly[] = {ID_GAME_START, ID_GAME_OPTIONS, ID_GAME_SHOWSCORE,
                              ID_APP_EXIT,   ID_VIEW_TOOLBAR, ID_VIEW_STATUS_BAR};

TEST_F(CCommandTest, EveryIdleOnlyCommandIsGreyedAndRefusedFromEverySourceDuringAGame) {
    int nOptionsDialogs = 0;
    ViewWidget().m_fnOptionsDialog = [&](COptionsValues&) {
        ++nOptionsDialogs;
        return IDCANCEL;
    };
    QToolBar* pBar = Frame().m_wndToolBar;
    QWidget* pStartButton = pBar->widgetForAction(Frame().GetAction(ID_GAME_START));
    QWidget* pOptionsButton = pBar->widgetForAction(Frame().GetAction(ID_GAME_OPTIONS));
    EXPECT_TRUE(pStartButton->isEnabled());

    QTest::keyClick(&Frame(), Qt::Key_F, Qt::ControlModifier);
    ASSERT_TRUE(Game().m_bRunning) << "Ctrl+F starts a game";
    ASSERT_EQ(m_runtime.m_seeds.size(), 1u);

    for (const UINT nID : kIdleOnly) {
        EXPECT_FALSE(Frame().GetAction(nID)->isEnabled()) << nID;
    }
    EXPECT_FALSE(pStartButton->isEnabled());
    EXPECT_FALSE(pOptionsButton->isEnabled());
    EXPECT_TRUE(Frame().GetAction(ID_APP_ABOUT)->isEnabled());
    // Opening a drop-down asks again and keeps them greyed.
    for (QAction* pDropDown : Frame().menuBar()->actions()) {
        emit pDropDown->menu()->aboutToShow();
    }
    for (const UINT nID : kIdleOnly) {
        EXPECT_FALSE(Frame().GetAction(nID)->isEnabled()) << nID;
    }

    // Accelerators, toolbar buttons and menu items do nothing.
    QTest::keyClick(&ViewWidget(), Qt::Key_F, Qt::ControlModifier);
    QTest::keyClick(&ViewWidget(), Qt::Key_E, Qt::ControlModifier);
    QTest::mouseClick(pStartButton, Qt::LeftButton);
    QTest::mouseClick(pOptionsButton, Qt::LeftButton);
    QMenu* pGameMenu = Frame().menuBar()->actions()[2]->menu();
    pGameMenu->popup(Frame().mapToGlobal(QPoint(40, 40)));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(pGameMenu));
    QTest::mouseClick(pGameMenu, Qt::LeftButton, {},
                      pGameMenu->actionGeometry(Frame().GetAction(ID_GAME_START)).center());
    pGameMenu->hide();
    // Even a command that reaches the frame directly is asked for its state first.
    for (const UINT nID : kIdleOnly) {
        Frame().OnCommand(nID);
    }
    Settle();
    EXPECT_TRUE(Game().m_bRunning);
    EXPECT_EQ(m_runtime.m_seeds.size(), 1u) << "no second start";
    EXPECT_EQ(nOptionsDialogs, 0);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr) << "no score box";
    EXPECT_TRUE(Frame().isVisible()) << "Exit refused";
    EXPECT_TRUE(Frame().m_wndToolBar->isVisible());
    EXPECT_TRUE(Frame().m_wndStatusBar->isVisible());

    // Esc ends the game; the report box is closed, and every command is back.
    OnNextModal([](QWidget* pModal) { pModal->close(); });
    QTest::keyClick(&ViewWidget(), Qt::Key_Escape);
    EXPECT_TRUE(ModalHandled());
    EXPECT_FALSE(Game().m_bRunning);
    for (const UINT nID : kIdleOnly) {
        EXPECT_TRUE(Frame().GetAction(nID)->isEnabled()) << nID;
    }
    EXPECT_TRUE(pStartButton->isEnabled());
    QTest::keyClick(&ViewWidget(), Qt::Key_E, Qt::ControlModifier);
    EXPECT_EQ(nOptionsDialogs, 1) << "Ctrl+E opens Options when no game runs";
}

// The About box opens from F1, the button and the menu, and the game falls on beneath it.
TEST_F(CCommandTest, AboutOpensDuringAGameWhilePiecesKeepFalling) {
    Game().m_nFallTime = 60;
    QTest::keyClick(&Frame(), Qt::Key_F, Qt::ControlModifier);
    ASSERT_TRUE(Game().m_bRunning);

    int nAbout = 0;
    bool bFell = false;
    const auto closeAbout = [&](QWidget* pModal) {
        nAbout += qobject_cast<CAboutDlg*>(pModal) != nullptr ? 1 : 0;
        const int nRow = Game().m_nCurY;
        const int nPieces = Game().m_nPieces;
        bFell = bFell || QTest::qWaitFor(
                             [&] {
                                 return Game().m_nCurY != nRow || Game().m_nPieces != nPieces ||
                                        !Game().m_bRunning;
                             },
                             3000);
        pModal->close();
    };

    OnNextModal(closeAbout);
    QTest::keyClick(&ViewWidget(), Qt::Key_F1);
    EXPECT_TRUE(ModalHandled()) << "F1";
    EXPECT_TRUE(bFell);

    OnNextModal(closeAbout);
    QTest::mouseClick(Frame().m_wndToolBar->widgetForAction(Frame().GetAction(ID_APP_ABOUT)),
                      Qt::LeftButton);
    EXPECT_TRUE(ModalHandled()) << "toolbar";

    OnNextModal(closeAbout);
    QMenu* pHelp = Frame().menuBar()->actions()[3]->menu();
    pHelp->popup(Frame().mapToGlobal(QPoint(200, 40)));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(pHelp));
    QTest::mouseClick(pHelp, Qt::LeftButton, {},
                      pHelp->actionGeometry(Frame().GetAction(ID_APP_ABOUT)).center());
    EXPECT_TRUE(QTest::qWaitFor([&] { return ModalHandled(); }, 2000)) << "menu";
    EXPECT_EQ(nAbout, 3);

    if (Game().m_bRunning) {
        OnNextModal([](QWidget* pModal) { pModal->close(); });
        QTest::keyClick(&ViewWidget(), Qt::Key_Escape);
    }
}

// F1 opens the About box from wherever the keyboard is in the main window, though its menu item
// shows no key.
TEST_F(CCommandTest, F1OpensAboutFromAnywhereInTheWindow) {
    QWidget* const aTargets[] = {&ViewWidget(), &Frame(), Frame().m_wndToolBar,
                                 Frame().m_wndStatusBar, Frame().menuBar()};
    for (QWidget* pTarget : aTargets) {
        SCOPED_TRACE(pTarget->metaObject()->className());
        // Keys reach the window once it is active again after the last box.
        ASSERT_TRUE(QTest::qWaitForWindowActive(&Frame()));
        bool bAbout = false;
        OnNextModal([&](QWidget* pModal) {
            bAbout = qobject_cast<CAboutDlg*>(pModal) != nullptr;
            pModal->close();
        });
        QTest::keyClick(pTarget, Qt::Key_F1);
        EXPECT_TRUE(ModalHandled());
        EXPECT_TRUE(bAbout);
    }
}

// The close box ends the program at once during a game: no report, and no tick after it.
TEST_F(CCommandTest, CloseBoxEndsAGameAtOnceWithoutReport) {
    Game().m_nFallTime = 20;
    QTest::keyClick(&Frame(), Qt::Key_F, Qt::ControlModifier);
    ASSERT_TRUE(Game().m_bRunning);
    EXPECT_TRUE(Frame().close());
    EXPECT_FALSE(Frame().isVisible());
    const int nPieces = Game().m_nPieces;
    const int nRow = Game().m_nCurY;
    QTest::qWait(150);
    EXPECT_EQ(Game().m_nPieces, nPieces);
    EXPECT_EQ(Game().m_nCurY, nRow);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    EXPECT_FALSE(std::filesystem::exists(ScoreLogPath())) << "no record of a closed game";
}

// Ctrl+E opens the Options dialog with the current settings; OK hands its values back to the view.
TEST_F(CCommandTest, OptionsDialogShowsTheSettingsAndOkWritesThemBack) {
    QString shownWidth;
    OnNextModal([&](QWidget* pModal) {
        ASSERT_NE(qobject_cast<COptionsDlg*>(pModal), nullptr);
        // The dialog opens with the focus on the width, its text selected.
        auto* pEdit = qobject_cast<QLineEdit*>(QApplication::focusWidget());
        ASSERT_NE(pEdit, nullptr);
        shownWidth = pEdit->text();
        pEdit->selectAll();
        QTest::keyClicks(pEdit, "12");
        QTest::keyClick(pModal, Qt::Key_Return);
    });
    QTest::keyClick(&ViewWidget(), Qt::Key_E, Qt::ControlModifier);
    EXPECT_TRUE(ModalHandled());
    EXPECT_EQ(shownWidth, "10");
    EXPECT_EQ(Doc().m_field.m_nWidth, 12);
    EXPECT_EQ(Doc().m_field.m_nHeight, 15);
    EXPECT_TRUE(
        QTest::qWaitFor([&] { return Frame().windowTitle() == "Zorvik niveau 1, 12x15"; }, 2000));

    // Cancel writes nothing back, whatever was typed.
    OnNextModal([&](QWidget* pModal) {
        auto* pEdit = qobject_cast<QLineEdit*>(QApplication::focusWidget());
        ASSERT_NE(pEdit, nullptr);
        pEdit->selectAll();
        QTest::keyClicks(pEdit, "30");
        QTest::keyClick(pModal, Qt::Key_Escape);
    });
    Frame().GetAction(ID_GAME_OPTIONS)->trigger();
    EXPECT_TRUE(ModalHandled());
    EXPECT_EQ(Doc().m_field.m_nWidth, 12);
}

// Show score works when no game runs and shows its box.
TEST_F(CCommandTest, ShowScoreOpensTheScoreBoxWhenIdle) {
    QString text;
    OnNextModal([&](QWidget* pModal) {
        if (auto* pBox = qobject_cast<QMessageBox*>(pModal)) {
            text = pBox->text();
        }
        pModal->close();
    });
    Frame().GetAction(ID_GAME_SHOWSCORE)->trigger();
    EXPECT_TRUE(ModalHandled());
    EXPECT_TRUE(text.startsWith("Level 1:")) << text.toStdString();
}

}  // namespace
