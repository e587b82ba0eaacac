// The view's window: pixels of field and preview, the pause, and keys as the view receives them.
#include <QApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QTest>
#include <QToolBar>
#include <algorithm>
#include <array>
#include <utility>
#include <vector>

#include "game/resource.h"
#include "gui/guifixture.h"

namespace {

using CViewWidgetTest = CGuiTest;

constexpr int kMargin = 20;

// A 400x340 client area and a 10x15 field give a pitch of min((340 - 40) / 15, (400 - 40) / 10)
// = 20: the field's squares start at 21 and its right edge is at 20 + 10 * 20 = 220.
TEST_F(CViewWidgetTest, FieldAndPreviewArePixelExactAtAKnownClientSize) {
    SetViewSize(400, 340);
    QImage image = GrabView();
    ASSERT_EQ(image.size(), QSize(400, 340));
    const QRgb empty = Rgb(Doc().m_crEmpty);
    EXPECT_EQ(image.pixel(10, 10), Background()) << "margin";
    EXPECT_EQ(image.pixel(20, 20), Background()) << "grid line";
    EXPECT_EQ(image.pixel(21, 21), empty) << "square (0, 0)";
    EXPECT_EQ(image.pixel(39, 39), empty);
    EXPECT_EQ(image.pixel(40, 30), Background()) << "grid line between columns 0 and 1";
    EXPECT_EQ(image.pixel(219, 319), empty) << "last square";
    EXPECT_EQ(image.pixel(220, 100), Background()) << "no preview before a game";
    EXPECT_EQ(image.pixel(100, 320), Background());

    Game().m_nFallTime = 100000;  // nothing falls while the test looks
    Frame().OnCommand(ID_GAME_START);
    ASSERT_TRUE(Game().m_bRunning);
    Settle();
    image = GrabView();
    EXPECT_EQ(Game().m_nCellSize, 20);
    // Every square of the field, the falling piece's too, in the single colour or empty.
    const CPlayField& field = Doc().m_field;
    int nPieceSquares = 0;
    for (int row = 0; row < field.m_nHeight; ++row) {
        for (int col = 0; col < field.m_nWidth; ++col) {
            const COLORREF cr = field.GetCell(col, row);
            const QRgb want = cr == 0 ? empty : Rgb(Doc().m_crSingle);
            nPieceSquares += cr != 0 ? 1 : 0;
            const int x = kMargin + col * 20 + 1;
            const int y = kMargin + row * 20 + 1;
            EXPECT_EQ(image.pixel(x, y), want) << col << "," << row;
            EXPECT_EQ(image.pixel(x + 18, y + 18), want) << col << "," << row;
        }
    }
    EXPECT_GE(nPieceSquares, 4);
    // The white preview runs from the field's right edge over the full height.
    EXPECT_EQ(image.pixel(220, 0), qRgb(255, 255, 255));
    EXPECT_EQ(image.pixel(399, 339), qRgb(255, 255, 255));
    // The next piece: its leftmost squares in preview column 1, its top ones level with row 0.
    const CPolyomino& next = Doc().m_pPieces[Game().m_nNextPiece];
    std::array<CellOffset, CPolyomino::kMaxCells> aCells{};
    const int nCells = next.GetCells(aCells.data());
    for (int i = 0; i < nCells; ++i) {
        const int p = aCells[static_cast<size_t>(i)].x + next.GetLeftExtent() + 1;
        const int q = aCells[static_cast<size_t>(i)].y + Game().m_nNextY;
        const int x = kMargin + (field.m_nWidth + p) * 20 + 1;
        const int y = kMargin + q * 20 + 1;
        EXPECT_GE(p, 1);
        EXPECT_EQ(image.pixel(x, y), Rgb(Doc().m_crSingle)) << "preview square " << i;
    }
    // What the screen shows matches, after a move drawn outside a paint as well.
    QTest::keyClick(&ViewWidget(), Qt::Key_Left);
    Settle();
    const QImage screen = Frame()
                              .screen()
                              ->grabWindow(Frame().winId())
                              .toImage()
                              .convertToFormat(QImage::Format_RGB32);
    const QPoint origin = ViewWidget().mapTo(&Frame(), QPoint(0, 0));
    EXPECT_EQ(screen.copy(QRect(origin, ViewWidget().size())), ViewWidget().Image());

    OnNextModal([](QWidget* pModal) { pModal->close(); });
    QTest::keyClick(&ViewWidget(), Qt::Key_Escape);
}

TEST_F(CViewWidgetTest, PauseBlanksTheViewAndResumeBringsTheFieldBack) {
    Game().m_nFallTime = 40;
    Frame().OnCommand(ID_GAME_START);
    ASSERT_TRUE(Game().m_bRunning);
    Settle();
    const QImage playing = GrabView();

    QTest::keyClick(&ViewWidget(), Qt::Key_Pause);
    Settle();
    EXPECT_TRUE(Game().m_bPaused);
    QImage image = GrabView();
    const QRgb bg = Background();
    int nOther = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            nOther += image.pixel(x, y) != bg ? 1 : 0;
        }
    }
    EXPECT_EQ(nOther, 0) << "only the background while paused";
    EXPECT_EQ(Frame().GetMessageText(), "Er wordt gepauzeerd, toets <Pause> om door te gaan.");
    // Ticks do nothing while paused, and other keys are not acted on.
    const int nRow = Game().m_nCurY;
    const int nCol = Game().m_nCurX;
    QTest::qWait(200);
    QTest::keyClick(&ViewWidget(), Qt::Key_Left);
    EXPECT_EQ(Game().m_nCurY, nRow);
    EXPECT_EQ(Game().m_nCurX, nCol);
    // A resize during the pause keeps the field hidden.
    SetViewSize(ViewWidget().width() - 10, ViewWidget().height());
    EXPECT_EQ(GrabView().pixel(kMargin + 1, kMargin + 1), bg);

    QTest::keyClick(&ViewWidget(), Qt::Key_Pause);
    Settle();
    EXPECT_FALSE(Game().m_bPaused);
    EXPECT_EQ(Frame().GetMessageText(), "Spel is hervat");
    image = GrabView();
    EXPECT_EQ(image.pixel(kMargin + 1, kMargin + 1), Rgb(Doc().m_crEmpty)) << "field is back";
    EXPECT_NE(playing.size(), image.size());

    OnNextModal([](QWidget* pModal) { pModal->close(); });
    QTest::keyClick(&ViewWidget(), Qt::Key_Escape);
}

// A light and a dark palette: the base colour of text views, the window colour of faces.
class CPaletteTest : public CGuiTest,
                     public ::testing::WithParamInterface<std::pair<QRgb, QRgb>> {};

// The view erases to the palette's base colour, the background of text views, never to the
// window colour of dialogs: in the margins, on the grid lines, beside the field, in the preview
// area, while paused and after a resize; the squares keep the game's colours. A new palette
// repaints the view at once. The toolbar images show the bar's own face, no classic grey.
TEST_P(CPaletteTest, BackgroundIsTheBaseColourNotTheWindowColour) {
    SetViewSize(400, 340);
    const auto [base, window] = GetParam();
    QPalette palette{QColor(window), QColor(window)};
    palette.setColor(QPalette::Base, QColor(base));
    Frame().setPalette(palette);
    Settle();
    QImage image = GrabView();
    EXPECT_EQ(image.pixel(5, 5), base) << "margin";
    EXPECT_EQ(image.pixel(40, 30), base) << "grid line";
    EXPECT_EQ(image.pixel(300, 100), base) << "right of the field before a game";
    EXPECT_EQ(image.pixel(100, 335), base) << "below the field";
    EXPECT_EQ(image.pixel(21, 21), Rgb(Doc().m_crEmpty));

    Game().m_nFallTime = 100000;
    Frame().OnCommand(ID_GAME_START);
    ASSERT_TRUE(Game().m_bRunning);
    Settle();
    image = GrabView();
    EXPECT_EQ(image.pixel(220, 0), base) << "preview area";
    EXPECT_EQ(image.pixel(399, 339), base) << "preview area";
    EXPECT_EQ(image.pixel(21, 301), Rgb(Doc().m_crEmpty)) << "an empty square of the bottom row";
    QWidget* pAbout = Frame().m_wndToolBar->widgetForAction(Frame().GetAction(ID_APP_ABOUT));
    const QImage about = pAbout->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const auto* pPixels = reinterpret_cast<const QRgb*>(about.constBits());
    EXPECT_EQ(std::count(pPixels, pPixels + about.width() * about.height(), qRgb(192, 192, 192)), 0)
        << "no grey tile on the About button";

    QTest::keyClick(&ViewWidget(), Qt::Key_Pause);
    Settle();
    image = GrabView();
    int nOther = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            nOther += image.pixel(x, y) != base ? 1 : 0;
        }
    }
    EXPECT_EQ(nOther, 0) << "a paused view shows only the base colour";

    QTest::keyClick(&ViewWidget(), Qt::Key_Pause);
    SetViewSize(380, 330);
    image = GrabView();
    EXPECT_EQ(image.pixel(5, 5), base) << "margin after a resize";
    EXPECT_EQ(image.pixel(20 + 19, 30), base) << "grid line at the new pitch of 19";

    OnNextModal([](QWidget* pModal) { pModal->close(); });
    QTest::keyClick(&ViewWidget(), Qt::Key_Escape);
}

INSTANTIATE_TEST_SUITE_P(LightAndDark, CPaletteTest,
                         ::testing::Values(std::pair{qRgb(255, 255, 255), qRgb(239, 239, 239)},
                                           std::pair{qRgb(36, 36, 36), qRgb(53, 53, 53)}),
                         [](const auto& palette) { return palette.index == 0 ? "Light" : "Dark"; });

// Sends a key event to the view as the window system would and says whether it was accepted.
bool SendKey(QWidget& view, QEvent::Type type, int nKey, Qt::KeyboardModifiers modifiers,
             bool bAutoRepeat = false) {
    QKeyEvent event(type, nKey, modifiers, QString(), bAutoRepeat);
    QApplication::sendEvent(&view, &event);
    return event.isAccepted();
}

// Auto-repeat sends repeated presses, each a move; a release never moves.
TEST_F(CViewWidgetTest, RepeatedPressesMoveAndReleasesNever) {
    Game().m_nFallTime = 100000;
    Frame().OnCommand(ID_GAME_START);
    ASSERT_TRUE(Game().m_bRunning);
    const int nCol = Game().m_nCurX;
    SendKey(ViewWidget(), QEvent::KeyPress, Qt::Key_Left, Qt::NoModifier);
    SendKey(ViewWidget(), QEvent::KeyRelease, Qt::Key_Left, Qt::NoModifier, true);
    SendKey(ViewWidget(), QEvent::KeyPress, Qt::Key_Left, Qt::NoModifier, true);
    SendKey(ViewWidget(), QEvent::KeyRelease, Qt::Key_Left, Qt::NoModifier);
    EXPECT_EQ(Game().m_nCurX, nCol - 2);
    // The keypad's arrow moves with Num Lock off; its 6 with Num Lock on does not.
    SendKey(ViewWidget(), QEvent::KeyPress, Qt::Key_Right, Qt::KeypadModifier);
    EXPECT_EQ(Game().m_nCurX, nCol - 1);
    SendKey(ViewWidget(), QEvent::KeyPress, Qt::Key_6, Qt::KeypadModifier);
    EXPECT_EQ(Game().m_nCurX, nCol - 1);

    OnNextModal([](QWidget* pModal) { pModal->close(); });
    QTest::keyClick(&ViewWidget(), Qt::Key_Escape);
}

// A game key with Alt held is a system key: it goes to the frame, whose menus take their
// mnemonics, and never moves the piece. With Shift or Ctrl, and with Ctrl+Alt, it still acts.
TEST_F(CViewWidgetTest, AltWithAGameKeyLeavesThePieceAlone) {
    Game().m_nFallTime = 100000;
    Frame().OnCommand(ID_GAME_START);
    ASSERT_TRUE(Game().m_bRunning);
    // Room to move both ways and to drop.
    QTest::keyClick(&ViewWidget(), Qt::Key_Down);
    const auto cells = [this] {
        const CPlayField& field = Doc().m_field;
        return std::vector<COLORREF>(field.m_pCells.get(),
                                     field.m_pCells.get() + field.m_nWidth * field.m_nHeight);
    };
    const std::vector<COLORREF> before = cells();
    const int nCol = Game().m_nCurX;
    const int nRow = Game().m_nCurY;
    for (const Qt::Key key : {Qt::Key_Left, Qt::Key_Right, Qt::Key_Down, Qt::Key_Up, Qt::Key_End,
                              Qt::Key_Space, Qt::Key_Pause, Qt::Key_Escape}) {
        for (const Qt::KeyboardModifiers modifiers :
             {Qt::KeyboardModifiers(Qt::AltModifier), Qt::AltModifier | Qt::ShiftModifier,
              Qt::AltModifier | Qt::KeypadModifier}) {
            EXPECT_FALSE(SendKey(ViewWidget(), QEvent::KeyPress, key, modifiers))
                << "kept by the view: " << key;
        }
    }
    EXPECT_TRUE(Game().m_bRunning);
    EXPECT_FALSE(Game().m_bPaused);
    EXPECT_EQ(Game().m_nCurX, nCol);
    EXPECT_EQ(Game().m_nCurY, nRow);
    EXPECT_EQ(cells(), before) << "no square of the field changed";

    SendKey(ViewWidget(), QEvent::KeyPress, Qt::Key_Left, Qt::ShiftModifier);
    EXPECT_EQ(Game().m_nCurX, nCol - 1) << "Shift+Left";
    SendKey(ViewWidget(), QEvent::KeyPress, Qt::Key_Right, Qt::ControlModifier);
    EXPECT_EQ(Game().m_nCurX, nCol) << "Ctrl+Right";
    SendKey(ViewWidget(), QEvent::KeyPress, Qt::Key_Right, Qt::ControlModifier | Qt::AltModifier);
    EXPECT_EQ(Game().m_nCurX, nCol + 1) << "Ctrl+Alt+Right";

    // Alt+S still opens "&Speel" from the game's keyboard.
    QMenu* pGameMenu = Frame().menuBar()->actions()[2]->menu();
    QTest::keyClick(&ViewWidget(), Qt::Key_S, Qt::AltModifier);
    EXPECT_TRUE(QTest::qWaitFor([&] { return pGameMenu->isVisible(); }, 2000));
    pGameMenu->hide();
    Settle();

    OnNextModal([](QWidget* pModal) { pModal->close(); });
    QTest::keyClick(&ViewWidget(), Qt::Key_Escape);
}

// While a game runs the view passes every key on after acting; otherwise it keeps them.
TEST_F(CViewWidgetTest, KeysArePassedOnOnlyWhileAGameRunsUnpaused) {
    EXPECT_TRUE(SendKey(ViewWidget(), QEvent::KeyPress, Qt::Key_Left, Qt::NoModifier))
        << "no game: kept";
    EXPECT_TRUE(SendKey(ViewWidget(), QEvent::KeyPress, Qt::Key_A, Qt::NoModifier));
    Game().m_nFallTime = 100000;
    Frame().OnCommand(ID_GAME_START);
    EXPECT_FALSE(SendKey(ViewWidget(), QEvent::KeyPress, Qt::Key_Left, Qt::NoModifier));
    EXPECT_FALSE(SendKey(ViewWidget(), QEvent::KeyPress, Qt::Key_A, Qt::NoModifier));
    EXPECT_FALSE(SendKey(ViewWidget(), QEvent::KeyPress, Qt::Key_Pause, Qt::NoModifier));
    EXPECT_TRUE(SendKey(ViewWidget(), QEvent::KeyPress, Qt::Key_Left, Qt::NoModifier))
        << "paused: kept";
    EXPECT_FALSE(SendKey(ViewWidget(), QEvent::KeyPress, Qt::Key_Pause, Qt::NoModifier));
    // A release is never the view's.
    EXPECT_FALSE(SendKey(ViewWidget(), QEvent::KeyRelease, Qt::Key_Left, Qt::NoModifier));
    // The frame's accelerators never reach the view, even while their commands are refused.
    EXPECT_TRUE(SendKey(ViewWidget(), QEvent::KeyPress, Qt::Key_F, Qt::ControlModifier));

    OnNextModal([](QWidget* pModal) { pModal->close(); });
    QTest::keyClick(&ViewWidget(), Qt::Key_Escape);
}

}  // namespace
