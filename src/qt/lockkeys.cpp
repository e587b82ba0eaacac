#include "qt/lockkeys.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <array>
#include <cstring>

#include "qt/waylandlockkeys.h"

// XCB's description of the events on the wire; its XKB header names a member "explicit", a C++
// keyword. Then Xlib, which defines None, KeyPress, Bool and more as macros: it comes last, and
// only here.
#define explicit xcb_explicit
#include <xcb/xkb.h>
#undef explicit

#include <X11/XKBlib.h>
#include <X11/Xlib.h>

namespace {

// Bit 7 of an event's code is set when a client sent it on.
constexpr unsigned kSentEventBit = 0x80;

// Reads an XKB event in the layout of an indicator-state event, whose first two bytes every XKB
// event shares: the extension's one event code, then the XKB type. Empty for any other event.
std::optional<xcb_xkb_indicator_state_notify_event_t> ReadXkbEvent(const void* pEvent,
                                                                   const CIndicatorMap& map) {
    xcb_xkb_indicator_state_notify_event_t event;
    std::memcpy(&event, pEvent, sizeof(event));
    if (map.nXkbEventBase < 0 ||
        static_cast<int>(event.response_type & ~kSentEventBit) != map.nXkbEventBase) {
        return std::nullopt;
    }
    return event;
}

}  // namespace

std::unique_ptr<CLockKeys> FollowLockKeys(LockKeysChanged fnChanged) {
    // "wayland", or a variant such as "wayland-egl".
    if (QGuiApplication::platformName().startsWith(QLatin1String("wayland"))) {
        return std::make_unique<CWaylandLockKeys>(std::move(fnChanged));
    }
    return std::make_unique<CLockKeyWatcher>(std::move(fnChanged));
}

std::optional<CLockKeyState> DecodeIndicatorEvent(const void* pEvent, const CIndicatorMap& map) {
    const auto event = ReadXkbEvent(pEvent, map);
    if (!event || event->xkbType != XCB_XKB_INDICATOR_STATE_NOTIFY) {
        return std::nullopt;
    }
    return CLockKeyState{(event->state & map.nCapsMask) != 0, (event->state & map.nNumMask) != 0,
                         (event->state & map.nScrollMask) != 0};
}

void CLockKeys::SetState(const std::optional<CLockKeyState>& state) {
    if (m_state != state) {
        m_state = state;
        m_fnChanged(state);
    }
}

CLockKeyWatcher::CLockKeyWatcher(LockKeysChanged fnChanged) : CLockKeys(std::move(fnChanged)) {
    const auto* pX11 = qGuiApp != nullptr
                           ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>()
                           : nullptr;
    Display* pDisplay = pX11 != nullptr ? pX11->display() : nullptr;
    int nOpcode = 0;
    int nEventBase = 0;
    int nErrorBase = 0;
    int nMajor = XkbMajorVersion;
    int nMinor = XkbMinorVersion;
    if (pDisplay == nullptr ||
        !XkbQueryExtension(pDisplay, &nOpcode, &nEventBase, &nErrorBase, &nMajor, &nMinor)) {
        return;
    }
    m_pDisplay = pDisplay;
    m_map.nXkbEventBase = nEventBase;
    // Only adds to what Qt itself asks of XKB on the same connection.
    const unsigned long nEvents = XkbIndicatorStateNotifyMask | XkbNewKeyboardNotifyMask;
    XkbSelectEvents(pDisplay, XkbUseCoreKbd, nEvents, nEvents);
    ReadKeyboard();
    QCoreApplication::instance()->installNativeEventFilter(this);
}

CLockKeyWatcher::~CLockKeyWatcher() {
    if (m_pDisplay != nullptr && QCoreApplication::instance() != nullptr) {
        QCoreApplication::instance()->removeNativeEventFilter(this);
    }
}

void CLockKeyWatcher::ReadKeyboard() {
    auto* pDisplay = static_cast<Display*>(m_pDisplay);
    const std::array<const char*, 3> aNames = {"Caps Lock", "Num Lock", "Scroll Lock"};
    std::array<std::uint32_t, 3> aMasks{};
    std::array<bool, 3> aOn{};
    for (std::size_t i = 0; i < aNames.size(); ++i) {
        int nIndex = 0;
        Bool bState = False;
        const Atom atom = XInternAtom(pDisplay, aNames[i], False);
        if (XkbGetNamedIndicator(pDisplay, atom, &nIndex, &bState, nullptr, nullptr) &&
            nIndex >= 0 && nIndex < XkbNumIndicators) {
            aMasks[i] = 1u << nIndex;
            aOn[i] = bState != False;
        }
    }
    m_map.nCapsMask = aMasks[0];
    m_map.nNumMask = aMasks[1];
    m_map.nScrollMask = aMasks[2];
    SetState(CLockKeyState{aOn[0], aOn[1], aOn[2]});
}

bool CLockKeyWatcher::nativeEventFilter(const QByteArray& eventType, void* pMessage, qintptr*) {
    if (eventType != "xcb_generic_event_t" || pMessage == nullptr) {
        return false;
    }
    const auto event = ReadXkbEvent(pMessage, m_map);
    if (event && event->xkbType == XCB_XKB_NEW_KEYBOARD_NOTIFY) {
        ReadKeyboard();  // another keyboard may keep its lights elsewhere
    } else if (const std::optional<CLockKeyState> state = DecodeIndicatorEvent(pMessage, m_map)) {
        SetState(*state);
    }
    return false;  // Qt goes on with every event as before
}
