// The resources of the application shell: resource ids and the string table.
#pragma once

#include <QString>

#include "platform/wintypes.h"

constexpr UINT AFX_IDS_APP_TITLE = 57344;
constexpr UINT AFX_IDS_IDLEMESSAGE = 57345;
constexpr UINT ID_INDICATOR_CAPS = 0xE701;
constexpr UINT ID_INDICATOR_NUM = 0xE702;
constexpr UINT ID_INDICATOR_SCRL = 0xE703;

// The entry nID of the string table, empty when there is none. For a command the text before
// "\n" is its status-bar prompt and the text after it its tooltip.
QString LoadString(UINT nID);

// The first or the second line of a command's string.
QString CommandPrompt(UINT nID);
QString CommandTip(UINT nID);
