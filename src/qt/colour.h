// Colours between the game's COLORREF (0x00BBGGRR) and Qt's types.
#pragma once

#include <QColor>
#include <QRgb>
#include <cstdint>

#include "platform/wintypes.h"

inline QRgb ToQRgb(COLORREF cr) {
    return qRgb(GetRValue(cr), GetGValue(cr), GetBValue(cr));
}

inline QColor ToQColor(COLORREF cr) {
    return QColor(ToQRgb(cr));
}

// Red, green and blue of colour; its alpha is dropped.
inline COLORREF ToColorRef(const QColor& colour) {
    return RGB(static_cast<std::uint8_t>(colour.red()), static_cast<std::uint8_t>(colour.green()),
               static_cast<std::uint8_t>(colour.blue()));
}
