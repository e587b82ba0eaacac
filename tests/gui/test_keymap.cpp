// The translation of Qt's keys to the game's key codes.
#include <gtest/gtest.h>

#include <optional>

#include "game/keycodes.h"
#include "qt/keymap.h"

namespace {

std::optional<UINT> KeyCode(int nQtKey, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    const std::optional<CKeyTranslation> key = TranslateKey(nQtKey, modifiers);
    if (!key) {
        return std::nullopt;
    }
    return MakeKeyCode(key->nVirtKey, key->Flags(false));
}

// A wrong scan code for any of these makes the key dead in the game.
TEST(KeyMap, GameKeysGiveTheirKeyCodesFromCursorBlockAndKeypadAlike) {
    EXPECT_EQ(KeyCode(Qt::Key_Pause), kKeyPause);
    EXPECT_EQ(KeyCode(Qt::Key_Escape), kKeyEscape);
    EXPECT_EQ(KeyCode(Qt::Key_Space), kKeySpace);
    for (const Qt::KeyboardModifiers pad :
         {Qt::KeyboardModifiers(), Qt::KeyboardModifiers(Qt::KeypadModifier)}) {
        EXPECT_EQ(KeyCode(Qt::Key_End, pad), kKeyEnd);
        EXPECT_EQ(KeyCode(Qt::Key_Left, pad), kKeyLeft);
        EXPECT_EQ(KeyCode(Qt::Key_Up, pad), kKeyUp);
        EXPECT_EQ(KeyCode(Qt::Key_Right, pad), kKeyRight);
        EXPECT_EQ(KeyCode(Qt::Key_Down, pad), kKeyDown);
    }
    // Modifiers held with a key do not change its code.
    EXPECT_EQ(KeyCode(Qt::Key_Left, Qt::ShiftModifier), kKeyLeft);
    EXPECT_EQ(KeyCode(Qt::Key_Space, Qt::ControlModifier), kKeySpace);
}

// Only the extended bit tells the cursor block from the keypad, and the key code ignores it.
TEST(KeyMap, CursorBlockIsExtendedAndKeypadIsNot) {
    const std::optional<CKeyTranslation> grey = TranslateKey(Qt::Key_Left, Qt::NoModifier);
    const std::optional<CKeyTranslation> pad = TranslateKey(Qt::Key_Left, Qt::KeypadModifier);
    ASSERT_TRUE(grey && pad);
    EXPECT_TRUE(grey->bExtended);
    EXPECT_FALSE(pad->bExtended);
    EXPECT_EQ(grey->Flags(false), 0x0100u | kScanLeft);
    EXPECT_EQ(pad->Flags(false), kScanLeft);
    EXPECT_EQ(pad->Flags(true), 0x4000u | kScanLeft) << "an auto-repeated press has the "
                                                        "previous-state bit";
}

// With Num Lock on the keypad sends digits, which must not move the piece.
TEST(KeyMap, KeypadDigitsAreNumpadKeysNotArrows) {
    struct CCase {
        int nKey;
        UINT nCode;
    };
    // VK_NUMPAD0 is 96; the scan codes are those of the keypad keys.
    const CCase aCases[] = {{Qt::Key_0, 96082},  {Qt::Key_1, 97079},  {Qt::Key_2, 98080},
                            {Qt::Key_3, 99081},  {Qt::Key_4, 100075}, {Qt::Key_5, 101076},
                            {Qt::Key_6, 102077}, {Qt::Key_7, 103071}, {Qt::Key_8, 104072},
                            {Qt::Key_9, 105073}};
    for (const CCase& c : aCases) {
        EXPECT_EQ(KeyCode(c.nKey, Qt::KeypadModifier), c.nCode) << c.nKey;
    }
    EXPECT_EQ(KeyCode(Qt::Key_Clear, Qt::KeypadModifier), 12076u) << "keypad 5, Num Lock off";
    EXPECT_EQ(KeyCode(Qt::Key_Enter, Qt::KeypadModifier), 13028u);
    EXPECT_EQ(KeyCode(Qt::Key_Plus, Qt::KeypadModifier), 107078u);
    EXPECT_EQ(KeyCode(Qt::Key_Minus, Qt::KeypadModifier), 109074u);
    EXPECT_EQ(KeyCode(Qt::Key_Asterisk, Qt::KeypadModifier), 106055u);
    EXPECT_EQ(KeyCode(Qt::Key_Slash, Qt::KeypadModifier), 111053u);
}

// Other keys reach the view with their own codes, so it can pass them on.
TEST(KeyMap, OtherKeysGetTheirOwnCodes) {
    EXPECT_EQ(KeyCode(Qt::Key_A), 65030u);
    EXPECT_EQ(KeyCode(Qt::Key_E, Qt::ControlModifier), 69018u);
    EXPECT_EQ(KeyCode(Qt::Key_F, Qt::ControlModifier), 70033u);
    EXPECT_EQ(KeyCode(Qt::Key_Z), 90044u);
    EXPECT_EQ(KeyCode(Qt::Key_1), 49002u);
    EXPECT_EQ(KeyCode(Qt::Key_0), 48011u);
    EXPECT_EQ(KeyCode(Qt::Key_F1), 112059u);
    EXPECT_EQ(KeyCode(Qt::Key_F10), 121068u);
    EXPECT_EQ(KeyCode(Qt::Key_F12), 123088u);
    EXPECT_EQ(KeyCode(Qt::Key_Return), 13028u);
    EXPECT_EQ(KeyCode(Qt::Key_Tab), 9015u);
    EXPECT_EQ(KeyCode(Qt::Key_Home), 36071u);
    EXPECT_EQ(KeyCode(Qt::Key_Minus), 189012u);
    EXPECT_EQ(KeyCode(Qt::Key_Asterisk), 56009u) << "Shift+8 on a US keyboard";
    EXPECT_EQ(KeyCode(Qt::Key_NumLock), 144069u) << "Num Lock shares its scan code with Pause";
    EXPECT_FALSE(KeyCode(Qt::Key_unknown));
    EXPECT_FALSE(KeyCode(Qt::Key_VolumeUp));
}

}  // namespace
