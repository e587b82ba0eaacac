// The main frame as the player first meets it: size, menus, accelerators, toolbar, status bar.
#include <QAction>
#include <QApplication>
#include <QFont>
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
#include <map>
#include <set>
#include <string>
#include <vector>

#include "game/resource.h"
#include "gui/guifixture.h"

namespace {

using CMainFrameTest = CGuiTest;

constexpr QImage::Format kArgb = QImage::Format_ARGB32;

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
        QRgb rgbCorner;  // the image's background; the grey of a button face is transparent
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

// At every scale factor a desktop offers, the buttons show images drawn for it pixel for pixel:
// Qt neither scales a larger one down nor a smaller one up, so no image holds a colour that the
// 16x15 one lacks.
TEST_F(CMainFrameTest, ToolbarImagesAreDrawnForEveryCommonScale) {
    struct CScale {
        qreal dScale;
        const char* pszPath;
        QSize size;  // of one image, in device pixels
    };
    const CScale aScales[] = {
        {1.0, ":/res/toolbar.xpm", {16, 15}},      {1.25, ":/res/toolbar@1.25x.xpm", {20, 19}},
        {1.5, ":/res/toolbar@1.5x.xpm", {24, 23}}, {1.75, ":/res/toolbar@1.75x.xpm", {28, 26}},
        {2.0, ":/res/toolbar@2x.xpm", {32, 30}},
    };
    const UINT aButtons[] = {ID_GAME_START, ID_GAME_OPTIONS, ID_APP_ABOUT};
    std::map<UINT, std::set<QRgb>> colours;  // each image's colours at scale 1
    for (const CScale& scale : aScales) {
        SCOPED_TRACE(scale.pszPath);
        const QImage bitmap = QImage(QLatin1String(scale.pszPath)).convertToFormat(kArgb);
        ASSERT_EQ(bitmap.size(), QSize(scale.size.width() * 3, scale.size.height()));
        int nLeft = 0;
        for (const UINT nID : aButtons) {
            const QPixmap pixmap =
                Frame().GetAction(nID)->icon().pixmap(QSize(16, 15), scale.dScale);
            EXPECT_DOUBLE_EQ(pixmap.devicePixelRatio(), scale.dScale) << nID;
            const QImage image = pixmap.toImage().convertToFormat(kArgb);
            EXPECT_EQ(image, bitmap.copy(QRect(QPoint(nLeft, 0), scale.size))) << nID;
            nLeft += scale.size.width();
            for (int y = 0; y < image.height(); ++y) {
                for (int x = 0; x < image.width(); ++x) {
                    if (scale.dScale == 1.0) {
                        colours[nID].insert(image.pixel(x, y));
                    }
                    EXPECT_TRUE(colours[nID].contains(image.pixel(x, y)))
                        << nID << ": " << x << "," << y;
                }
            }
        }
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

// The desktop's font, in points, set on the application before the window opens; 0 leaves the
// font the platform gives, which the suite's runs under the GTK theme set in GTK's settings and
// name in ZORVIK_TEST_DESKTOP_FONT (tests/gui/CMakeLists.txt).
class CStatusFontTest : public CGuiTest, public ::testing::WithParamInterface<int> {
protected:
    void SetUp() override {
        m_saved = QApplication::font();
        if (GetParam() != 0) {
            QApplication::setFont(QFont(QStringLiteral("DejaVu Sans"), GetParam()));
        }
        CGuiTest::SetUp();
    }
    void TearDown() override {
        CGuiTest::TearDown();
        QApplication::setFont(m_saved);
    }

    // Every text of the message pane shows whole beside the lock-key panes.
    void ExpectEveryTextWhole() {
        QLabel* pPane = Frame().m_pMessagePane;
        for (const QString& text : kTexts) {
            Frame().SetMessageText(text);
            Settle();
            EXPECT_LE(pPane->fontMetrics().horizontalAdvance(text), pPane->contentsRect().width())
                << text.toStdString();
            EXPECT_LE(pPane->sizeHint().width(), pPane->width()) << text.toStdString();
        }
    }

    const QStringList kTexts = {
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
    QFont m_saved;
};

// At the frame's first size every text of the message pane shows whole, whatever the desktop's
// font: the status bar keeps that font where they fit in it, and takes a smaller one, not under
// 7 points, where they do not. The lock-key panes are as wide as their texts and their frames
// with a little padding, no wider. A new desktop font is followed the same way.
TEST_P(CStatusFontTest, EveryStatusTextFitsTheMessagePaneAtTheDefaultSize) {
    const QFont desktopFont = QApplication::font();
    if (const char* pszFont = std::getenv("ZORVIK_TEST_DESKTOP_FONT"); pszFont && !GetParam()) {
        EXPECT_EQ(QStringLiteral("%1 %2").arg(desktopFont.family()).arg(desktopFont.pointSizeF()),
                  QString::fromUtf8(pszFont))
            << "the desktop's font arrived";
    }
    ASSERT_EQ(Frame().frameGeometry().size(), QSize(470, 575));
    QLabel* pPane = Frame().m_pMessagePane;
    ExpectEveryTextWhole();
    const qreal dPoints = Frame().m_wndStatusBar->font().pointSizeF();
    EXPECT_GE(dPoints, 7);
    EXPECT_LE(dPoints, desktopFont.pointSizeF());
    if (dPoints < desktopFont.pointSizeF()) {
        EXPECT_GT(QFontMetrics(desktopFont).horizontalAdvance(kTexts[1]),
                  pPane->contentsRect().width())
            << "smaller than the desktop's font only where a text needs it";
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

    Frame().resize(Frame().size() + QSize(100, 0));
    QApplication::setFont(QFont(QStringLiteral("DejaVu Sans"), 12));
    Settle();
    ExpectEveryTextWhole();
    EXPECT_EQ(Frame().m_wndStatusBar->width(), Frame().width()) << "as wide as the window";
}

INSTANTIATE_TEST_SUITE_P(DesktopFonts, CStatusFontTest, ::testing::Values(0, 8, 9, 10, 11),
                         [](const ::testing::TestParamInfo<int>& points) {
                             return points.param == 0 ? std::string("DesktopsOwn")
                                                      : std::to_string(points.param) + "pt";
                         });

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
