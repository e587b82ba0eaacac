// The program on a real X server (the suite's own Xvfb): the lock-key panes follow the server's
// XKB events. Skipped where Xvfb is not installed.
#include <QGuiApplication>
#include <QTest>

#include "gui/guifixture.h"

// Xlib defines None, KeyPress, Bool and more as macros: it comes last.
#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#include <X11/keysym.h>

namespace {

class CXcbTest : public CGuiTest {
protected:
    void SetUp() override {
        if (QGuiApplication::platformName() != "xcb") {
            GTEST_SKIP() << "no X server: Xvfb is not installed";
        }
        CGuiTest::SetUp();
    }
};

// Another program (here the test's own connection) locks and unlocks Caps Lock and Num Lock, as
// the keys do; the panes follow without the window being touched.
TEST_F(CXcbTest, LockKeyPanesFollowTheXServer) {
    Display* pOther = XOpenDisplay(nullptr);
    ASSERT_NE(pOther, nullptr);
    const unsigned nNumLock = XkbKeysymToModifiers(pOther, XK_Num_Lock);
    ASSERT_NE(nNumLock, 0u);
    const auto lock = [&](unsigned nMask, bool bOn) {
        XkbLockModifiers(pOther, XkbUseCoreKbd, nMask, bOn ? nMask : 0);
        XFlush(pOther);
    };
    const auto panesBecome = [&](const std::string& expected) {
        return QTest::qWaitFor([&] { return LockKeyPanes() == expected; }, 5000);
    };
    lock(LockMask | nNumLock, false);
    EXPECT_TRUE(panesBecome("[][][]")) << LockKeyPanes();
    lock(LockMask, true);
    EXPECT_TRUE(panesBecome("[CAP][][]")) << LockKeyPanes();
    lock(nNumLock, true);
    EXPECT_TRUE(panesBecome("[CAP][NUM][]")) << LockKeyPanes();
    lock(LockMask, false);
    EXPECT_TRUE(panesBecome("[][NUM][]")) << LockKeyPanes();
    lock(nNumLock, false);
    EXPECT_TRUE(panesBecome("[][][]")) << LockKeyPanes();
    XCloseDisplay(pOther);
}

// A frame made while Caps Lock is on shows it from the start.
TEST_F(CXcbTest, LockKeyPanesStartWithTheServersState) {
    Display* pOther = XOpenDisplay(nullptr);
    ASSERT_NE(pOther, nullptr);
    XkbLockModifiers(pOther, XkbUseCoreKbd, LockMask, LockMask);
    XSync(pOther, False);
    m_pApp.reset();
    m_pApp = std::make_unique<CZorvikApp>(m_runtime);
    ASSERT_TRUE(m_pApp->InitInstance());
    EXPECT_EQ(LockKeyPanes(), "[CAP][][]");
    XkbLockModifiers(pOther, XkbUseCoreKbd, LockMask, 0);
    XCloseDisplay(pOther);
}

}  // namespace
