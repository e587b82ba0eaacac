#include "app/appresource.h"

#include <array>
#include <utility>

#include "game/resource.h"

namespace {

constexpr std::array<std::pair<UINT, const char*>, 12> kStringTable = {{
    {AFX_IDS_APP_TITLE, "Zorvik"},
    {AFX_IDS_IDLEMESSAGE, "Klaar"},
    {ID_GAME_START, "Start het spel\nStart spel"},
    {ID_GAME_OPTIONS, "Veldgrootte, niveau enz. specificeren\nOpties"},
    {ID_GAME_SHOWSCORE, "Geeft maximale score per niveau"},
    {ID_APP_ABOUT, "Toont programma-informatie, versienummer en uitleg\nOver"},
    {ID_APP_EXIT, "Beëindig het programma\nExit"},
    {ID_VIEW_TOOLBAR, "Toon/verberg werkbalk\nWerkbalk"},
    {ID_VIEW_STATUS_BAR, "Toon/verberg statusregel\nStatusregel"},
    {ID_INDICATOR_CAPS, "CAP"},
    {ID_INDICATOR_NUM, "NUM"},
    {ID_INDICATOR_SCRL, "SCRL"},
}};

}  // namespace

QString LoadString(UINT nID) {
    for (const auto& [nEntry, pszText] : kStringTable) {
        if (nEntry == nID) {
            return QString::fromUtf8(pszText);
        }
    }
    return {};
}

QString CommandPrompt(UINT nID) {
    return LoadString(nID).section(QLatin1Char('\n'), 0, 0);
}

QString CommandTip(UINT nID) {
    return LoadString(nID).section(QLatin1Char('\n'), 1, 1);
}
