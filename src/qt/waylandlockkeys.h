// The lock keys under Wayland, through Qt's own connection to the compositor.
#pragma once

#include <cstdint>
#include <optional>

#include "qt/lockkeys.h"
#include "qt/xkblockkeys.h"

struct wl_display;
struct wl_keyboard;
struct wl_registry;
struct wl_seat;

// Follows the lock keys of the first seat's keyboard: a keyboard object of its own beside Qt's,
// whose keymap and modifiers events the decoder turns into the lights. Its registry, seat and
// keyboard live on Qt's display and its default queue, which Qt dispatches on the GUI thread
// with its own events, so nothing polls, waits or runs a thread. The seat is bound anew rather
// than borrowed from Qt: only its own listener learns whether the seat has a keyboard, and
// asking a seat without one for a keyboard is a protocol error that would end Qt's connection.
// A Wayland client hears the modifiers only while one of its windows has the keyboard focus;
// meanwhile the panes keep the last state.
class CWaylandLockKeys final : public CLockKeys {
public:
    explicit CWaylandLockKeys(LockKeysChanged fnChanged);
    ~CWaylandLockKeys() override;

private:
    struct CListeners;

    void OnGlobal(std::uint32_t nName, const char* pszInterface, std::uint32_t nVersion);
    void OnGlobalRemove(std::uint32_t nName);
    void OnCapabilities(std::uint32_t nCapabilities);
    void OnKeymap(std::uint32_t nFormat, int fd, std::uint32_t nSize);
    void DropSeat();
    void DropKeyboard();
    void Publish() { SetState(m_decoder.State()); }

    wl_display* m_pDisplay = nullptr;  // Qt's; null off Wayland
    wl_registry* m_pRegistry = nullptr;
    wl_seat* m_pSeat = nullptr;
    std::uint32_t m_nSeatName = 0;  // the seat's name among the compositor's globals
    wl_keyboard* m_pKeyboard = nullptr;
    CXkbLockKeys m_decoder;
};
