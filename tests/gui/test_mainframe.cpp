// The main frame as the player first meets it: size, menus, accelerators, toolbar, status bar.
#include <QAction>
#include <QApplication>
#include <QFontMetrics>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QTest>
#include <QToolBar>
#include <QToolButton>
#include <QWindow>
#include <cstdlib>
#include <set>
#include <string>
#include <vector>

#include "game/resource.h"
#include "gui/guifixture.h"

namespace {

using CMainFrameTest = CGuiTest;

constexpr QImage::Format kRgb = QImage::Format_RGB32;

std::vector<std::string> ItemTexts(const QList<QAction*>& actions) {
    std::vector<std::string> texts;
    for (const QAction* pAction : actions) {
        texts.push_back(pAction->isSeparator() ? "-" : pAction->text().toStdString());
    }
    return texts;
}

TEST_F(CMainFrameTest, StartsAt470By575WithBarsInPlaceAndNoGame) {
    EXPECT_EQ(Frame().frameGeometry().size(), QSize(470, 575));
    EXPECT_EQ(Frame().toolBarArea(Frame().m_wndToolBar), Qt::TopToolBarArea);
    EXPECT_TRUE(Frame().m_wndToolBar->isVisible());
    EXPECT_TRUE(Frame().m_wndStatusBar->isVisible());
    EXPECT_EQ(Frame().statusBar(), Frame().m_wndStatusBar);
    EXPECT_EQ(Frame().GetMessageText(), "Klaar");
    EXPECT_FALSE(Game().m_bRunning);
    EXPECT_TRUE(ViewWidget().hasFocus()) << "the keys go to the view without a click";
}

// Docks, task switchers and Wayland compositors find the desktop entry by this name, and the
// window offers its icon in every size of the installed icon theme, not a blurred small one.
TEST_F(CMainFrameTest, NamesItsDesktopEntryAndOffersTheIconInEveryThemeSize) {
    EXPECT_EQ(QGuiApplication::desktopFileName(), "nl.zorvik.Zorvik");
    const QIcon icon = QApplication::windowIcon();
    const QList<QSize> sizes = icon.availableSizes();
    EXPECT_EQ(sizes.size(), 8);
    for (const int nSize : {16, 22, 24, 32, 48, 64, 128, 256}) {
        EXPECT_TRUE(sizes.contains(QSize(nSize, nSize))) << nSize;
        const QImage image = icon.pixmap(QSize(nSize, nSize), 1.0).toImage();
        ASSERT_EQ(image.size(), QSize(nSize, nSize));
        const QImage themeIcon(
            QStringLiteral(":/res/icons/hicolor/%1x%1/apps/nl.zorvik.Zorvik.png").arg(nSize));
        EXPECT_EQ(image.convertToFormat(QImage::Format_RGB32),
                  themeIcon.convertToFormat(QImage::Format_RGB32))
            << nSize;
    }
}

TEST_F(CMainFrameTest, MenusHaveTheirCaptionsOrderSeparatorAndShortcuts) {
    const QList<QAction*> dropDowns = Frame().menuBar()->actions();
    EXPECT_EQ(ItemTexts(dropDowns),
              (std::vector<std::string>{"&Bestand", "Beel&d", "&Speel", "&Hulp"}));
    ASSERT_EQ(dropDowns.size(), 4);
    const std::vector<std::vector<std::string>> items = {
        {"E&xit"},
        {"&Werkbalk", "&Statusregel"},
        {"&Opties...", "&Start", "-", "Toon score..."},
        {"&Over Zorvik..."},
    };
    for (int i = 0; i < 4; ++i) {
        QMenu* pMenu = dropDowns[i]->menu();
        ASSERT_NE(pMenu, nullptr);
        EXPECT_EQ(ItemTexts(pMenu->actions()), items[static_cast<size_t>(i)]);
        for (const QAction* pAction : pMenu->actions()) {
            EXPECT_FALSE(pAction->isCheckable()) << "no item shows a check mark";
            EXPECT_TRUE(pAction->isEnabled());
            EXPECT_FALSE(pAction->text().contains('\t'));
        }
    }
    // The items and the actions of the command table are one and the same.
    EXPECT_EQ(dropDowns[2]->menu()->actions()[0], Frame().GetAction(ID_GAME_OPTIONS));
    EXPECT_EQ(dropDowns[2]->menu()->actions()[1], Frame().GetAction(ID_GAME_START));
    EXPECT_EQ(dropDowns[2]->menu()->actions()[3], Frame().GetAction(ID_GAME_SHOWSCORE));
    EXPECT_EQ(dropDowns[0]->menu()->actions()[0], Frame().GetAction(ID_APP_EXIT));
    EXPECT_EQ(dropDowns[3]->menu()->actions()[0], Frame().GetAction(ID_APP_ABOUT));

    EXPECT_EQ(Frame().GetAction(ID_GAME_OPTIONS)->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_E));
    EXPECT_EQ(Frame().GetAction(ID_GAME_START)->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_F));
    // A menu prints its item's shortcut beside the caption: "&Over Zorvik..." shows none, F1
    // notwithstanding.
    for (const UINT nID :
         {ID_GAME_SHOWSCORE, ID_APP_EXIT, ID_VIEW_TOOLBAR, ID_VIEW_STATUS_BAR, ID_APP_ABOUT}) {
        EXPECT_TRUE(Frame().GetAction(nID)->shortcuts().isEmpty()) << nID;
    }
}

TEST_F(CMainFrameTest, ToolbarHasThreeFlatButtonsWithTipsPromptsAndImages) {
    QToolBar* pBar = Frame().m_wndToolBar;
    EXPECT_EQ(ItemTexts(pBar->actions()),
              (std::vector<std::string>{"&Start", "-", "&Opties...", "-", "&Over Zorvik..."}));
    EXPECT_TRUE(pBar->isMovable());
    EXPECT_TRUE(pBar->isFloatable());
    EXPECT_EQ(pBar->allowedAreas(), Qt::AllToolBarAreas);
    EXPECT_FALSE(pBar->objectName().isEmpty());
    EXPECT_EQ(pBar->iconSize(), QSize(16, 15));

    struct CButton {
        UINT nID;
        const char* pszTip;
        const char* pszPrompt;
        QRgb rgbCorner;  // the image's background
    };
    const CButton aButtons[] = {
        {ID_GAME_START, "Start spel", "Start het spel", qRgb(0, 255, 0)},
        {ID_GAME_OPTIONS, "Opties", "Veldgrootte, niveau enz. specificeren", qRgb(0, 255, 255)},
        {ID_APP_ABOUT, "Over", "Toont programma-informatie, versienummer en uitleg",
         qRgba(0, 0, 0, 0)},
    };
    for (const CButton& button : aButtons) {
        QAction* pAction = Frame().GetAction(button.nID);
        auto* pWidget = qobject_cast<QToolButton*>(pBar->widgetForAction(pAction));
        ASSERT_NE(pWidget, nullptr);
        EXPECT_TRUE(pWidget->autoRaise()) << "flat";
        EXPECT_EQ(pWidget->toolTip().toStdString(), button.pszTip);
        EXPECT_EQ(pAction->statusTip().toStdString(), button.pszPrompt);
        const QImage image = pAction->icon().pixmap(QSize(16, 15)).toImage();
        ASSERT_EQ(image.size(), QSize(16, 15));
        EXPECT_EQ(image.pixel(0, 0), button.rgbCorner);
    }
    // The Start image holds black letters.
    const QImage start = Frame().GetAction(ID_GAME_START)->icon().pixmap(QSize(16, 15)).toImage();
    int nBlack = 0;
    for (int y = 0; y < start.height(); ++y) {
        for (int x = 0; x < start.width(); ++x) {
            nBlack += (start.pixel(x, y) & 0xFFFFFFu) == 0 ? 1 : 0;
        }
    }
    EXPECT_GT(nBlack, 20);
}

// At the scale factors desktops offer (1.25, 1.5, 1.75, 2) the buttons show images drawn for
// the size Qt asks for, not others scaled and blurred; at 1 they show the 16x15 images pixel for
// pixel.
TEST_F(CMainFrameTest, ToolbarImagesAreSharpAtEveryCommonScale) {
    const QImage bitmap = QImage(QStringLiteral(":/res/toolbar.xpm")).convertToFormat(kRgb);
    int nImage = 0;
    for (const UINT nID : {ID_GAME_START, ID_GAME_OPTIONS, ID_APP_ABOUT}) {
        const QIcon icon = Frame().GetAction(nID)->icon();
        const QImage image = icon.pixmap(QSize(16, 15), 1.0).toImage().convertToFormat(kRgb);
        EXPECT_EQ(image, bitmap.copy(nImage * 16, 0, 16, 15)) << nID;
        // Sharp: no colour that the 16x15 image does not have.
        std::set<QRgb> colours;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                colours.insert(image.pixel(x, y));
            }
        }
        for (const qreal dScale : {1.25, 1.5, 1.75, 2.0}) {
            const QPixmap pixmap = icon.pixmap(QSize(16, 15), dScale);
            EXPECT_EQ(pixmap.size(), QSize(16, 15) * dScale) << nID << " " << dScale;
            EXPECT_EQ(pixmap.devicePixelRatio(), dScale) << nID;
            const QImage scaled = pixmap.toImage().convertToFormat(kRgb);
            for (int y = 0; y < scaled.height(); ++y) {
                for (int x = 0; x < scaled.width(); ++x) {
                    EXPECT_TRUE(colours.contains(scaled.pixel(x, y)))
                        << nID << " " << dScale << ": " << x << "," << y;
                }
            }
        }
        ++nImage;
    }
}

TEST_F(CMainFrameTest, StatusPaneShowsPromptsThenKlaarAndTheViewsOwnTexts) {
    QToolBar* pBar = Frame().m_wndToolBar;
    QWidget* pOptions = pBar->widgetForAction(Frame().GetAction(ID_GAME_OPTIONS));
    QTest::mouseMove(pOptions);
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return Frame().GetMessageText() == "Veldgrootte, niveau enz. specificeren"; }, 2000))
        << Frame().GetMessageText().toStdString();
    QTest::mouseMove(&ViewWidget());
    EXPECT_TRUE(QTest::qWaitFor([&] { return Frame().GetMessageText() == "Klaar"; }, 2000));

    // A highlighted menu item shows its prompt; a closed menu gives "Klaar" back.
    QMenu* pMenu = Frame().menuBar()->actions()[2]->menu();
    pMenu->popup(Frame().mapToGlobal(QPoint(50, 50)));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(pMenu));
    QTest::mouseMove(pMenu, pMenu->actionGeometry(Frame().GetAction(ID_GAME_START)).center());
    EXPECT_TRUE(QTest::qWaitFor([&] { return Frame().GetMessageText() == "Start het spel"; }, 2000))
        << Frame().GetMessageText().toStdString();
    QTest::mouseMove(pMenu, pMenu->actionGeometry(Frame().GetAction(ID_GAME_SHOWSCORE)).center());
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return Frame().GetMessageText() == "Geeft maximale score per niveau"; }, 2000));
    pMenu->hide();
    EXPECT_TRUE(QTest::qWaitFor([&] { return Frame().GetMessageText() == "Klaar"; }, 2000));

    // The view writes into the same pane; the text written last stands.
    Game().SetStatusText("Score: 12, Valtijd: 995ms");
    EXPECT_EQ(Frame().GetMessageText(), "Score: 12, Valtijd: 995ms");
    QStatusTipEvent tip(QStringLiteral("Start het spel"));
    QApplication::sendEvent(&Frame(), &tip);
    EXPECT_EQ(Frame().GetMessageText(), "Start het spel");
    Game().SetStatusText("Eindscore: 3");
    EXPECT_EQ(Frame().GetMessageText(), "Eindscore: 3");
}

// Without an X server nothing tells the lock keys: the panes stay blank but keep their width.
TEST_F(CMainFrameTest, LockKeyPanesAreBlankWhereTheDesktopCannotTell) {
    for (QLabel* pPane : Frame().m_aIndicators) {
        ASSERT_NE(pPane, nullptr);
        EXPECT_TRUE(pPane->text().isEmpty());
        EXPECT_GT(pPane->width(), pPane->fontMetrics().horizontalAdvance("CA"));
        EXPECT_TRUE(pPane->isVisible());
    }
    // The message pane takes the width that is left.
    EXPECT_GT(Frame().m_pMessagePane->width(), Frame().width() / 2);
}

// The desktop's font in points, set once the window is open; 0 keeps the platform's, named in
// ZORVIK_TEST_DESKTOP_FONT by the runs under the GTK theme (CMakeLists.txt).
class CStatusFontTest : public CGuiTest, public ::testing::WithParamInterface<int> {
protected:
    void SetUp() override {
        CGuiTest::SetUp();
        if (GetParam() != 0) {
            QApplication::setFont(QFont(QStringLiteral("DejaVu Sans"), GetParam()));
        }
    }
    void TearDown() override {
        CGuiTest::TearDown();
        QApplication::setFont(m_saved);
    }
    const QFont m_saved = QApplication::font();
};

// At the frame's first size every text of the message pane shows whole beside the lock-key
// panes, which are as wide as their texts and their frames with a little padding, no wider. The
// status bar keeps the desktop's font where the texts fit in it, else takes a smaller one, not
// under 7 points.
TEST_P(CStatusFontTest, EveryStatusTextFitsTheMessagePaneAtTheDefaultSize) {
    const QFont desktop = QApplication::font();
    if (const char* pszFont = std::getenv("ZORVIK_TEST_DESKTOP_FONT"); pszFont && !GetParam()) {
        EXPECT_EQ(QStringLiteral("%1 %2").arg(desktop.family()).arg(desktop.pointSizeF()), pszFont);
    }
    ASSERT_EQ(Frame().frameGeometry().size(), QSize(470, 575));
    QLabel* pPane = Frame().m_pMessagePane;
    const QStringList texts = {
        QStringLiteral("Klaar"),
        QStringLiteral("Er wordt gepauzeerd, toets <Pause> om door te gaan."),
        QStringLiteral("Spel is hervat"),
        QStringLiteral("Score: 999999, Valtijd: 2000ms"),
        QStringLiteral("Eindscore: 999999"),
        QStringLiteral("Start het spel"),
        QStringLiteral("Veldgrootte, niveau enz. specificeren"),
        QStringLiteral("Geeft maximale score per niveau"),
        QStringLiteral("Toont programma-informatie, versienummer en uitleg"),
        QString::fromUtf8("Beëindig het programma"),
        QStringLiteral("Toon/verberg werkbalk"),
        QStringLiteral("Toon/verberg statusregel"),
    };
    for (const QString& text : texts) {
        Frame().SetMessageText(text);
        Settle();
        EXPECT_LE(pPane->fontMetrics().horizontalAdvance(text), pPane->contentsRect().width())
            << text.toStdString();
        EXPECT_LE(pPane->sizeHint().width(), pPane->width()) << text.toStdString();
    }
    const qreal dPoints = Frame().m_wndStatusBar->font().pointSizeF();
    EXPECT_GE(dPoints, 7);
    EXPECT_LE(dPoints, desktop.pointSizeF());
    if (dPoints < desktop.pointSizeF()) {
        EXPECT_GT(QFontMetrics(desktop).horizontalAdvance(texts[1]), pPane->contentsRect().width());
    }
    // The pane really is beside the lock panes, inside the window.
    const QRect paneRect(pPane->mapTo(&Frame(), QPoint(0, 0)), pPane->size());
    EXPECT_LE(paneRect.right(), Frame().m_aIndicators[0]->mapTo(&Frame(), QPoint(0, 0)).x());

    const char* const aTexts[] = {"CAP", "NUM", "SCRL"};
    for (std::size_t i = 0; i < Frame().m_aIndicators.size(); ++i) {
        const QLabel* pLock = Frame().m_aIndicators[i];
        const int nWhole = pLock->fontMetrics().horizontalAdvance(QLatin1String(aTexts[i])) +
                           2 * pLock->frameWidth();
        EXPECT_GE(pLock->width(), nWhole) << aTexts[i];
        EXPECT_LE(pLock->width(), nWhole + 6) << aTexts[i];
    }
}

INSTANTIATE_TEST_SUITE_P(DesktopFonts, CStatusFontTest, ::testing::Values(0, 8, 9, 10, 11));

TEST_F(CMainFrameTest, CaptionShowsLevelAndFieldSizeOnceTheViewHasPainted) {
    EXPECT_TRUE(
        QTest::qWaitFor([&] { return Frame().windowTitle() == "Zorvik niveau 1, 10x15"; }, 2000))
        << Frame().windowTitle().toStdString();
}

TEST_F(CMainFrameTest, BarSwitchesToggleTheirBarsAndTheViewRepaintsAtItsNewSize) {
    const QSize before = ViewWidget().size();
    Frame().GetAction(ID_VIEW_TOOLBAR)->trigger();
    Settle();
    EXPECT_FALSE(Frame().m_wndToolBar->isVisible());
    EXPECT_GT(ViewWidget().height(), before.height());
    EXPECT_EQ(ViewWidget().Image().size(), ViewWidget().size());
    Frame().GetAction(ID_VIEW_STATUS_BAR)->trigger();
    Settle();
    EXPECT_FALSE(Frame().m_wndStatusBar->isVisible());
    EXPECT_FALSE(Frame().GetAction(ID_VIEW_STATUS_BAR)->isChecked());
    Frame().GetAction(ID_VIEW_TOOLBAR)->trigger();
    Frame().GetAction(ID_VIEW_STATUS_BAR)->trigger();
    Settle();
    EXPECT_TRUE(Frame().m_wndToolBar->isVisible());
    EXPECT_TRUE(Frame().m_wndStatusBar->isVisible());
    EXPECT_EQ(ViewWidget().size(), before);
    // The field is drawn whole at the new size: its first square sits inside the margin.
    const QImage image = GrabView();
    EXPECT_EQ(image.pixel(21, 21), Rgb(Doc().m_crEmpty));
    EXPECT_EQ(image.pixel(5, 5), Background());
}

// Exit closes the window when no game runs.
TEST_F(CMainFrameTest, ExitClosesTheWindow) {
    Frame().GetAction(ID_APP_EXIT)->trigger();
    EXPECT_FALSE(Frame().isVisible());
}

}  // namespace
