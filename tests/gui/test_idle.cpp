// The program while nobody plays: nothing ticks, and the lock-key panes change only when the X
// server or the Wayland compositor says so. Runs on offscreen and again on a real X server.
#include <sys/mman.h>
#include <unistd.h>

#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QTest>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "gui/guifixture.h"
#include "qt/lockkeys.h"
#include "qt/xkblockkeys.h"

// Its XKB header names a member "explicit", a C++ keyword.
#define explicit xcb_explicit
#include <xcb/xkb.h>
#undef explicit

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

// An XKB indicator-state event as the X server sends it.
xcb_xkb_indicator_state_notify_event_t IndicatorEvent(int nEventBase, std::uint32_t nState) {
    xcb_xkb_indicator_state_notify_event_t event{};
    event.response_type = static_cast<std::uint8_t>(nEventBase);
    event.xkbType = XCB_XKB_INDICATOR_STATE_NOTIFY;
    event.deviceID = 3;  // the core keyboard
    event.state = nState;
    event.stateChanged = 1;
    return event;
}

// Each lock key's light has its own bit in the event; other lights and other events change
// nothing.
TEST(LockKeys, IndicatorEventsDecodeIntoTheLockKeys) {
    const CIndicatorMap map{85, 1u << 0, 1u << 1, 1u << 2};
    const auto decode = [&](const xcb_xkb_indicator_state_notify_event_t& event) {
        return DecodeIndicatorEvent(&event, map);
    };
    EXPECT_EQ(decode(IndicatorEvent(85, 0b001)), (CLockKeyState{true, false, false}));
    EXPECT_EQ(decode(IndicatorEvent(85, 0b110)), (CLockKeyState{false, true, true}));
    EXPECT_EQ(decode(IndicatorEvent(85, 0xfffffff8u)), CLockKeyState{}) << "other lights";
    EXPECT_EQ(decode(IndicatorEvent(85 | 0x80, 0b010)), (CLockKeyState{false, true, false}))
        << "an event a client sent on";

    xcb_xkb_indicator_state_notify_event_t other = IndicatorEvent(85, 0b111);
    other.xkbType = XCB_XKB_STATE_NOTIFY;
    EXPECT_EQ(decode(other), std::nullopt);
    EXPECT_EQ(decode(IndicatorEvent(86, 0b111)), std::nullopt) << "another extension's event";
    const auto all = IndicatorEvent(85, 0xffffffffu);
    EXPECT_EQ(DecodeIndicatorEvent(&all, CIndicatorMap{}), std::nullopt) << "no XKB, no lock keys";
    const CIndicatorMap noNumLight{85, 1u << 0, 0, 1u << 2};
    EXPECT_EQ(DecodeIndicatorEvent(&all, noNumLight), (CLockKeyState{true, false, true}));
}

// A keymap as a Wayland compositor shares it: libxkbcommon's text of a named layout, in a file
// of its own ending in a NUL; and the mask of named modifiers in that keymap.
class CKeymapFile {
public:
    CKeymapFile(const char* pszLayout, const char* pszOptions) {
        const xkb_rule_names names{"evdev", "pc105", pszLayout, "", pszOptions};
        m_pContext = xkb_context_new(XKB_CONTEXT_NO_FLAGS);
        m_pKeymap = xkb_keymap_new_from_names(m_pContext, &names, XKB_KEYMAP_COMPILE_NO_FLAGS);
        char* pszText = xkb_keymap_get_as_string(m_pKeymap, XKB_KEYMAP_FORMAT_TEXT_V1);
        m_nSize = std::strlen(pszText) + 1;
        m_fd = memfd_create("keymap", MFD_CLOEXEC);
        EXPECT_EQ(write(m_fd, pszText, m_nSize), static_cast<ssize_t>(m_nSize));
        std::free(pszText);
    }
    ~CKeymapFile() {
        close(m_fd);
        xkb_keymap_unref(m_pKeymap);
        xkb_context_unref(m_pContext);
    }
    CKeymapFile(const CKeymapFile&) = delete;
    CKeymapFile& operator=(const CKeymapFile&) = delete;

    bool FeedTo(CXkbLockKeys& decoder) const { return decoder.ReadKeymap(m_fd, m_nSize); }
    std::uint32_t Mask(const std::vector<const char*>& names) const {
        std::uint32_t nMask = 0;
        for (const char* pszName : names) {
            const xkb_mod_index_t nIndex = xkb_keymap_mod_get_index(m_pKeymap, pszName);
            EXPECT_NE(nIndex, XKB_MOD_INVALID) << pszName;
            nMask |= 1u << nIndex;
        }
        return nMask;
    }

private:
    xkb_context* m_pContext = nullptr;
    xkb_keymap* m_pKeymap = nullptr;
    int m_fd = -1;
    std::size_t m_nSize = 0;
};

// Only a locked modifier lights its key, by the keymap's own lights, from the first modifiers after
// a keymap on; a new keymap keeps the state until the next modifiers. Lock is Caps Lock, Mod2 Num
// Lock; the default keymap gives Scroll Lock no modifier, and the "grp_led:scroll" option lights
// it for any layout but the first.
TEST(LockKeys, WaylandModifiersDecodeIntoTheLockKeys) {
    struct CCase {
        const char* pszLayout;
        const char* pszOptions;
        std::vector<const char*> depressed;
        std::vector<const char*> locked;
        std::uint32_t nGroup;
        CLockKeyState expected;
    };
    const char* const pszCaps = XKB_MOD_NAME_CAPS;
    const char* const pszNum = XKB_MOD_NAME_NUM;
    const std::vector<const char*> all = {"Shift", "Lock", "Control", "Mod1",
                                          "Mod2",  "Mod3", "Mod4",    "Mod5"};
    const std::vector<CCase> cases = {
        {"us", "", {}, {}, 0, {}},
        {"us", "", {}, {pszCaps}, 0, {true, false, false}},
        {"us", "", {}, {pszNum}, 0, {false, true, false}},
        {"us", "", {XKB_MOD_NAME_SHIFT}, {pszCaps, pszNum}, 0, {true, true, false}},
        {"us", "", {pszCaps, pszNum}, {}, 0, {}},
        {"us", "", {}, all, 0, {true, true, false}},
        {"us,de", "grp_led:scroll", {}, {}, 0, {}},
        {"us,de", "grp_led:scroll", {}, {pszCaps}, 1, {true, false, true}},
    };
    for (const CCase& c : cases) {
        const CKeymapFile keymap(c.pszLayout, c.pszOptions);
        CXkbLockKeys decoder;
        decoder.SetModifiers(0, 0, keymap.Mask(c.locked), 0);
        EXPECT_EQ(decoder.State(), std::nullopt) << "no keymap yet";
        ASSERT_TRUE(keymap.FeedTo(decoder)) << c.pszLayout;
        EXPECT_EQ(decoder.State(), std::nullopt) << "nothing known before the first modifiers";
        decoder.SetModifiers(keymap.Mask(c.depressed), 0, keymap.Mask(c.locked), c.nGroup);
        ASSERT_TRUE(keymap.FeedTo(decoder)) << "a new keymap keeps the state";
        EXPECT_EQ(decoder.State(), c.expected)
            << c.pszLayout << " " << c.depressed.size() << " down, " << c.locked.size()
            << " locked, layout " << c.nGroup;
        // A file that is no keymap, or an empty one, leaves the lock keys unknown.
        const int fd = memfd_create("garbage", MFD_CLOEXEC);
        ASSERT_EQ(write(fd, "xkb_keymap {", 12), 12);
        EXPECT_FALSE(decoder.ReadKeymap(fd, 12));
        EXPECT_EQ(decoder.State(), std::nullopt);
        EXPECT_FALSE(decoder.ReadKeymap(fd, 0));
        close(fd);
    }
}

// The panes show the decoded state; nothing known is blank panes that keep their width.
TEST_F(CIdleTest, LockKeyPanesShowTheStateTheyAreGiven) {
    const int nWidth = Frame().m_aIndicators[0]->width();
    Frame().ShowLockKeys(CLockKeyState{true, true, false});
    EXPECT_EQ(LockKeyPanes(), "[CAP][NUM][]");
    Frame().ShowLockKeys(CLockKeyState{false, false, true});
    EXPECT_EQ(LockKeyPanes(), "[][][SCRL]");
    Frame().ShowLockKeys(std::nullopt);
    EXPECT_EQ(LockKeyPanes(), "[][][]");
    EXPECT_EQ(Frame().m_aIndicators[0]->width(), nWidth);
}

}  // namespace
