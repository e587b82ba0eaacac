// The Qt side of the platform on its own: the client surface over the backing image, and sound.
#include <gtest/gtest.h>

#include <unistd.h>
#include <QApplication>
#include <QTemporaryDir>
#include <QTest>
#include <climits>
#include <cstdio>
#include <fstream>
#include <string>

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

// Where no sound can be played the player hears the bell, and nothing appears on the terminal:
// with libcanberra switched off, and through its ALSA backend on a machine without a sound card
// (a default device on a card that does not exist). On ALSA's null device both sounds really
// play: the sound library's context, with its connection to a sound server, lives only while
// a sound plays, until the last of the two has ended.
TEST(EventSound, PlaysOrRingsTheBellAndPrintsNothing) {
    struct CCase {
        const char* pszDriver;
        const char* pszAsoundrc;
        bool bBell;
    };
    const CCase aCases[] = {
        {"none", "", true},
        {"alsa", "pcm.!default { type hw card \"zorvik-no-such-card\" }\n", true},
        {"alsa", "pcm.!default { type null }\n", false},
    };
    const QByteArray oldHome = qgetenv("HOME");
    const QByteArray oldDriver = qgetenv("CANBERRA_DRIVER");
    for (const CCase& c : aCases) {
        const QTemporaryDir home;
        std::ofstream(home.filePath(QStringLiteral(".asoundrc")).toStdString()) << c.pszAsoundrc;
        qputenv("HOME", home.path().toLocal8Bit());
        qputenv("CANBERRA_DRIVER", c.pszDriver);
        std::fflush(stderr);
        const int nStderr = dup(STDERR_FILENO);
        std::FILE* pCaught = std::tmpfile();
        dup2(fileno(pCaught), STDERR_FILENO);

        CEventSound sound;
        sound.Play(MB_ICONEXCLAMATION);
        sound.Play(MB_ICONASTERISK);
        const bool bBell = sound.m_bLastWasBell;
        const bool bOpen = sound.IsOpen();
        const bool bClosed = QTest::qWaitFor([&] { return !sound.IsOpen(); }, 5000);

        std::fflush(stderr);
        dup2(nStderr, STDERR_FILENO);
        close(nStderr);
        std::string caught(static_cast<std::size_t>(std::ftell(pCaught)), '\0');
        std::rewind(pCaught);
        caught.resize(std::fread(caught.data(), 1, caught.size(), pCaught));
        std::fclose(pCaught);
        EXPECT_EQ(bBell, c.bBell) << c.pszAsoundrc;
        EXPECT_EQ(bOpen, !c.bBell) << "a context open while a sound plays, none after a failure";
        EXPECT_TRUE(bClosed) << "the context closes once both sounds have ended";
        EXPECT_EQ(caught, "") << c.pszAsoundrc;
    }
    qputenv("HOME", oldHome);
    qputenv("CANBERRA_DRIVER", oldDriver);
}

}  // namespace
