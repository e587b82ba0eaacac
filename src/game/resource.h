// Command ids shared by the view's command handlers and the main frame.
#pragma once

#include "platform/wintypes.h"

constexpr UINT ID_GAME_START = 32771;
constexpr UINT ID_GAME_OPTIONS = 32772;
constexpr UINT ID_GAME_SHOWSCORE = 32775;
constexpr UINT ID_FILE_NEW = 57600;
constexpr UINT ID_APP_ABOUT = 57664;
constexpr UINT ID_APP_EXIT = 57665;
constexpr UINT ID_VIEW_TOOLBAR = 59392;
constexpr UINT ID_VIEW_STATUS_BAR = 59393;

// The view's one window timer: the fall timer.
constexpr UINT_PTR kFallTimerId = 1;
