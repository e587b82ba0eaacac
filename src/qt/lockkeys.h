// The state of Caps Lock, Num Lock and Scroll Lock, where the desktop can tell.
#pragma once

#include <QAbstractNativeEventFilter>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <utility>

struct CLockKeyState {
    bool bCaps = false;
    bool bNum = false;
    bool bScroll = false;
    friend bool operator==(const CLockKeyState&, const CLockKeyState&) = default;
};

// Hears every change of the lock keys on the GUI thread; empty when the desktop can no longer
// tell.
using LockKeysChanged = std::function<void(const std::optional<CLockKeyState>&)>;

// Follows the lock keys as the desktop announces them, so nothing polls. What the desktop says
// comes in through SetState, from the watcher of X or of Wayland.
class CLockKeys {
public:
    explicit CLockKeys(LockKeysChanged fnChanged) : m_fnChanged(std::move(fnChanged)) {}
    virtual ~CLockKeys() = default;
    CLockKeys(const CLockKeys&) = delete;
    CLockKeys& operator=(const CLockKeys&) = delete;

    // The lock keys now; empty where the desktop cannot tell.
    std::optional<CLockKeyState> State() const { return m_state; }

protected:
    // Tells the frame when the state differs from the one it shows.
    void SetState(const std::optional<CLockKeyState>& state);

private:
    LockKeysChanged m_fnChanged;
    std::optional<CLockKeyState> m_state;
};

// Follows the X server's lock keys under X, the compositor's under Wayland; elsewhere
// (offscreen) knows nothing.
std::unique_ptr<CLockKeys> FollowLockKeys(LockKeysChanged fnChanged);

// Where the three lock keys' lights sit among the X server's XKB indicators, and the code of the
// first XKB event. A mask of 0: the keyboard has no such light.
struct CIndicatorMap {
    int nXkbEventBase = -1;
    std::uint32_t nCapsMask = 0;
    std::uint32_t nNumMask = 0;
    std::uint32_t nScrollMask = 0;
};

// Reads an X event as the server sent it (32 bytes in the client's byte order): an XKB
// indicator-state event gives the lock keys' new state, any other event nothing.
std::optional<CLockKeyState> DecodeIndicatorEvent(const void* pEvent, const CIndicatorMap& map);

// Follows the lock keys by the X server's own XKB indicator events, which reach the application
// as native events. Asks the server once at the start and again when the keyboard changes.
// Where there is no X display it knows nothing.
class CLockKeyWatcher final : public CLockKeys, public QAbstractNativeEventFilter {
public:
    explicit CLockKeyWatcher(LockKeysChanged fnChanged);
    ~CLockKeyWatcher() override;

    bool nativeEventFilter(const QByteArray& eventType, void* pMessage, qintptr* pResult) override;

private:
    // Asks the server where the lights sit and how they stand.
    void ReadKeyboard();

    void* m_pDisplay = nullptr;  // Qt's Xlib display; null without X
    CIndicatorMap m_map;
};
