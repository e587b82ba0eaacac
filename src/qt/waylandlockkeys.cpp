#include "qt/waylandlockkeys.h"

#include <unistd.h>
#include <wayland-client.h>

#include <qpa/qplatformnativeinterface.h>
#include <QGuiApplication>
#include <algorithm>
#include <cstring>

namespace {

// Seat version 5 gives the keyboard and seat release requests; nothing newer is needed.
constexpr std::uint32_t kSeatVersion = 5;

// Lets go of a seat or keyboard: tells the compositor where the object's version knows the
// request, else only forgets it on our side.
template <typename T>
void Release(T*& pObject, std::uint32_t nReleaseSince, void (*fnRelease)(T*),
             void (*fnDestroy)(T*)) {
    if (pObject == nullptr) {
        return;
    }
    if (wl_proxy_get_version(reinterpret_cast<wl_proxy*>(pObject)) >= nReleaseSince) {
        fnRelease(pObject);
    } else {
        fnDestroy(pObject);
    }
    pObject = nullptr;
}

}  // namespace

// The compositor's events, dispatched by Qt on the GUI thread.
struct CWaylandLockKeys::CListeners {
    static CWaylandLockKeys& Self(void* pData) { return *static_cast<CWaylandLockKeys*>(pData); }

    static constexpr wl_registry_listener kRegistry = {
        [](void* pData, wl_registry*, std::uint32_t nName, const char* pszInterface,
           std::uint32_t nVersion) { Self(pData).OnGlobal(nName, pszInterface, nVersion); },
        [](void* pData, wl_registry*, std::uint32_t nName) { Self(pData).OnGlobalRemove(nName); },
    };
    static constexpr wl_seat_listener kSeat = {
        [](void* pData, wl_seat*, std::uint32_t nCapabilities) {
            Self(pData).OnCapabilities(nCapabilities);
        },
        [](void*, wl_seat*, const char*) {},
    };
    static constexpr wl_keyboard_listener kKeyboard = {
        [](void* pData, wl_keyboard*, std::uint32_t nFormat, int fd, std::uint32_t nSize) {
            Self(pData).OnKeymap(nFormat, fd, nSize);
        },
        [](void*, wl_keyboard*, std::uint32_t, wl_surface*, wl_array*) {},
        [](void*, wl_keyboard*, std::uint32_t, wl_surface*) {},
        [](void*, wl_keyboard*, std::uint32_t, std::uint32_t, std::uint32_t, std::uint32_t) {},
        [](void* pData, wl_keyboard*, std::uint32_t, std::uint32_t nDepressed,
           std::uint32_t nLatched, std::uint32_t nLocked, std::uint32_t nGroup) {
            Self(pData).m_decoder.SetModifiers(nDepressed, nLatched, nLocked, nGroup);
            Self(pData).Publish();
        },
        [](void*, wl_keyboard*, std::int32_t, std::int32_t) {},
    };
};

CWaylandLockKeys::CWaylandLockKeys(LockKeysChanged fnChanged) : CLockKeys(std::move(fnChanged)) {
    QPlatformNativeInterface* pNative =
        qGuiApp != nullptr ? QGuiApplication::platformNativeInterface() : nullptr;
    m_pDisplay = pNative != nullptr
                     ? static_cast<wl_display*>(pNative->nativeResourceForIntegration("wl_display"))
                     : nullptr;
    if (m_pDisplay == nullptr) {
        return;
    }
    m_pRegistry = wl_display_get_registry(m_pDisplay);
    wl_registry_add_listener(m_pRegistry, &CListeners::kRegistry, this);
    // Qt would send the request only when it next dispatches an event; send it now.
    wl_display_flush(m_pDisplay);
}

CWaylandLockKeys::~CWaylandLockKeys() {
    if (m_pDisplay == nullptr) {
        return;
    }
    DropSeat();
    wl_registry_destroy(m_pRegistry);
    wl_display_flush(m_pDisplay);
}

void CWaylandLockKeys::OnGlobal(std::uint32_t nName, const char* pszInterface,
                                std::uint32_t nVersion) {
    if (m_pSeat != nullptr || std::strcmp(pszInterface, wl_seat_interface.name) != 0) {
        return;
    }
    m_pSeat = static_cast<wl_seat*>(
        wl_registry_bind(m_pRegistry, nName, &wl_seat_interface, std::min(nVersion, kSeatVersion)));
    m_nSeatName = nName;
    wl_seat_add_listener(m_pSeat, &CListeners::kSeat, this);
}

void CWaylandLockKeys::OnGlobalRemove(std::uint32_t nName) {
    if (m_pSeat != nullptr && nName == m_nSeatName) {
        DropSeat();
        Publish();
    }
}

void CWaylandLockKeys::OnCapabilities(std::uint32_t nCapabilities) {
    const bool bKeyboard = (nCapabilities & WL_SEAT_CAPABILITY_KEYBOARD) != 0;
    if (bKeyboard && m_pKeyboard == nullptr) {
        m_pKeyboard = wl_seat_get_keyboard(m_pSeat);
        wl_keyboard_add_listener(m_pKeyboard, &CListeners::kKeyboard, this);
    } else if (!bKeyboard && m_pKeyboard != nullptr) {
        DropKeyboard();
        Publish();
    }
}

void CWaylandLockKeys::OnKeymap(std::uint32_t nFormat, int fd, std::uint32_t nSize) {
    if (nFormat == WL_KEYBOARD_KEYMAP_FORMAT_XKB_V1) {
        m_decoder.ReadKeymap(fd, nSize);
    } else {
        m_decoder = CXkbLockKeys();  // a keyboard without a keymap tells nothing
    }
    close(fd);
    Publish();
}

void CWaylandLockKeys::DropSeat() {
    DropKeyboard();
    Release(m_pSeat, WL_SEAT_RELEASE_SINCE_VERSION, wl_seat_release, wl_seat_destroy);
}

void CWaylandLockKeys::DropKeyboard() {
    Release(m_pKeyboard, WL_KEYBOARD_RELEASE_SINCE_VERSION, wl_keyboard_release,
            wl_keyboard_destroy);
    m_decoder = CXkbLockKeys();
}
