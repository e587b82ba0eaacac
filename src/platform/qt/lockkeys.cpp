#include "platform/qt/lockkeys.h"

#include <QGuiApplication>
#include <array>

// Xlib defines None, KeyPress, Bool and more as macros: it comes last, and only here.
#include <X11/XKBlib.h>
#include <X11/Xlib.h>

std::optional<CLockKeyState> QueryLockKeys() {
    const auto* pX11 = qGuiApp != nullptr
                           ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>()
                           : nullptr;
    Display* pDisplay = pX11 != nullptr ? pX11->display() : nullptr;
    if (pDisplay == nullptr) {
        return std::nullopt;
    }
    // Atoms live as long as the server; one display per process.
    static const std::array<Atom, 3> aAtoms = {XInternAtom(pDisplay, "Caps Lock", False),
                                               XInternAtom(pDisplay, "Num Lock", False),
                                               XInternAtom(pDisplay, "Scroll Lock", False)};
    std::array<bool, 3> aOn{};
    for (std::size_t i = 0; i < aAtoms.size(); ++i) {
        Bool bState = False;
        if (XkbGetNamedIndicator(pDisplay, aAtoms[i], nullptr, &bState, nullptr, nullptr)) {
            aOn[i] = bState != False;
        }
    }
    return CLockKeyState{aOn[0], aOn[1], aOn[2]};
}
