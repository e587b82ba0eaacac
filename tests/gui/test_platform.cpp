// The Qt side of the platform on its own: the client surface over the backing image, and sound.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>
#include <climits>

#include "fakes/fakeplatform.h"
#include "qt/sound.h"
#include "qt/viewwidget.h"

namespace {

struct CStandaloneView {
    CZorvikDoc doc;
    CFakeRuntime runtime;
    CViewWidget widget{doc, runtime};

    CStandaloneView(int cx, int cy) {
        widget.resize(cx, cy);
        widget.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&widget));
    }
};

QRgb At(const CViewWidget& widget, int x, int y) {
    return widget.Image().pixel(x, y);
}

// The game fills beyond the client area and with sizes of 0 or less (a tiny window gives a
// negative pitch); the surface clips, and a fill never touches pixels outside its rectangle.
TEST(ImageDC, FillsAreClippedExactAndColoursKeepTheirChannels) {
    CStandaloneView view(50, 40);
    ASSERT_EQ(view.widget.Image().size(), QSize(50, 40));
    EXPECT_EQ(view.widget.GetClientRect(), (CRect{0, 0, 50, 40}));
    {
        std::unique_ptr<CDC> pDC = view.widget.GetClientDC();
        pDC->FillSolidRect(0, 0, 50, 40, RGB(0, 0, 0));
        pDC->FillSolidRect(-10, -10, 20, 20, RGB(1, 2, 3));
        pDC->FillSolidRect(45, 35, INT_MAX, INT_MAX, RGB(200, 100, 50));
        pDC->FillSolidRect(INT_MIN, 20, INT_MAX, 1, RGB(9, 9, 9));
        pDC->FillSolidRect(20, 20, 0, 10, RGB(255, 255, 255));
        pDC->FillSolidRect(20, 20, -3, -3, RGB(255, 255, 255));
        pDC->FillSolidRect(60, 10, 5, 5, RGB(255, 255, 255));
    }
    EXPECT_EQ(At(view.widget, 0, 0), qRgb(1, 2, 3)) << "red stays red: 0x00BBGGRR";
    EXPECT_EQ(At(view.widget, 9, 9), qRgb(1, 2, 3));
    EXPECT_EQ(At(view.widget, 10, 9), qRgb(0, 0, 0));
    EXPECT_EQ(At(view.widget, 9, 10), qRgb(0, 0, 0));
    EXPECT_EQ(At(view.widget, 44, 39), qRgb(0, 0, 0));
    EXPECT_EQ(At(view.widget, 45, 35), qRgb(200, 100, 50));
    EXPECT_EQ(At(view.widget, 49, 39), qRgb(200, 100, 50));
    EXPECT_EQ(At(view.widget, 20, 20), qRgb(0, 0, 0)) << "empty fills draw nothing";
    // The released surface has asked for a repaint: the screen shows the image.
    QTest::qWait(20);
    EXPECT_EQ(view.widget.grab().toImage().convertToFormat(QImage::Format_RGB32),
              view.widget.Image());
}

// An invalidation erases the whole view to its background at the next paint; a resize
// re-creates the image at the new size and repaints it whole.
TEST(ImageDC, InvalidateAndResizeEraseToTheBackground) {
    CStandaloneView view(30, 30);
    view.widget.GetClientDC()->FillSolidRect(0, 0, 30, 30, RGB(255, 0, 0));
    QTest::qWait(20);
    EXPECT_EQ(At(view.widget, 15, 15), qRgb(255, 0, 0)) << "a client fill stays until a paint "
                                                           "erases";
    view.widget.InvalidateRect();
    view.widget.repaint();
    const QRgb bg = view.widget.palette().color(QPalette::Base).rgb();
    // The view draws its field over the background; its margin stays bare.
    EXPECT_EQ(At(view.widget, 0, 0), bg);
    view.widget.resize(80, 60);
    QTest::qWait(20);
    EXPECT_EQ(view.widget.Image().size(), QSize(80, 60));
    EXPECT_EQ(At(view.widget, 79, 59), bg);
}

// Where no sound can be played the player still hears the bell, not nothing.
TEST(EventSound, FallsBackToTheBellWithoutASoundDevice) {
    // The test program runs with CANBERRA_DRIVER=none: libcanberra fails.
    CEventSound sound;
    sound.Play(MB_ICONEXCLAMATION);
    EXPECT_TRUE(sound.m_bLastWasBell);
    sound.Play(MB_ICONASTERISK);
    EXPECT_TRUE(sound.m_bLastWasBell);
}

}  // namespace
