// A recording fake of the platform: tests drive ticks, keys and paints by hand, script the
// random sequence and the dialogs, and read back every call the view made.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "game/zorvikview.h"
#include "model/zorvikdoc.h"
#include "platform/cdc.h"
#include "platform/runtime.h"
#include "platform/viewwindow.h"

// One FillSolidRect call as the view made it.
struct CFill {
    int x = 0;
    int y = 0;
    int cx = 0;
    int cy = 0;
    COLORREF cr = 0;
    bool bClientDC = false;  // drawn on a client surface, else on the paint surface

    friend bool operator==(const CFill&, const CFill&) = default;
};

class CFakeWindow;

// A surface that records its fills and paints them into the fake window's pixels, clipped.
class CRecordingDC final : public CDC {
public:
    CRecordingDC(CFakeWindow& wnd, bool bClientDC) : m_wnd(wnd), m_bClientDC(bClientDC) {}
    void FillSolidRect(int x, int y, int cx, int cy, COLORREF cr) override;

private:
    CFakeWindow& m_wnd;
    bool m_bClientDC;
};

class CFakeWindow final : public IViewWindow {
public:
    // The colour of an erased view; distinct from every colour the game paints.
    static constexpr COLORREF kBackground = 0x00123456;

    CFakeWindow();

    // --- IViewWindow --------------------------------------------------------------------------
    void SetTimer(UINT_PTR nIDEvent, UINT nElapse) override;
    void KillTimer(UINT_PTR nIDEvent) override;
    void InvalidateRect() override;
    CRect GetClientRect() const override { return m_rcClient; }
    // White as in a light palette; an erase still fills kBackground, which the view never paints.
    COLORREF GetBackgroundColour() const override { return 0x00FFFFFF; }
    std::unique_ptr<CDC> GetClientDC() override;
    void Default() override;
    void SetMainWindowText(const std::string& text) override;
    void SetStatusPaneText(const std::string& text) override;
    int MessageBox(const std::string& text, const std::string& caption, UINT nType) override;
    void MessageBeep(UINT nType) override;
    int DoOptionsDialog(COptionsValues& values) override;

    // --- Driving ----------------------------------------------------------------------------
    // Sets the client size and repaints the whole view, as a resize does.
    void SetClientSize(CZorvikView& view, int cx, int cy);
    // The paint that follows an invalidation: erases if one is pending, then OnDraw on a paint
    // surface.
    void Paint(CZorvikView& view);
    // Forgets every record (not the timers, the pixels or the scripts).
    void ClearRecords();

    COLORREF Pixel(int x, int y) const;
    bool HasTimer(UINT_PTR nIDEvent) const { return m_activeTimers.count(nIDEvent) != 0; }
    UINT TimerPeriod(UINT_PTR nIDEvent) const;
    std::vector<CFill> ClientFills() const;
    std::vector<CFill> PaintFills() const;

    // --- Scripts ----------------------------------------------------------------------------
    CRect m_rcClient{0, 0, 400, 340};
    // Answers DoOptionsDialog; by default the dialog is cancelled.
    std::function<int(COptionsValues&)> m_fnOptionsDialog;
    // Called while a message box is open, before it returns.
    std::function<void(const std::string& text, const std::string& caption)> m_fnOnMessageBox;

    // --- Records ----------------------------------------------------------------------------
    struct CTimerCall {
        bool bSet = false;  // SetTimer, else KillTimer
        UINT_PTR nIDEvent = 0;
        UINT nElapse = 0;
        friend bool operator==(const CTimerCall&, const CTimerCall&) = default;
    };
    struct CMessageBoxCall {
        std::string text;
        std::string caption;
        UINT nType = 0;
    };
    std::vector<CTimerCall> m_timerCalls;
    std::map<UINT_PTR, UINT> m_activeTimers;
    int m_nInvalidations = 0;
    bool m_bErasePending = false;
    int m_nDefaults = 0;
    int m_nClientDCs = 0;
    std::vector<std::string> m_captions;
    std::vector<std::string> m_statusTexts;
    std::vector<CMessageBoxCall> m_messageBoxes;
    std::vector<UINT> m_beeps;
    std::vector<COptionsValues> m_optionsShown;
    std::vector<CFill> m_fills;
    // Every call in order, one short line each ("SetTimer 1 1000", "KillTimer 1", "Status ...",
    // "Caption ...", "Beep 48", "MessageBox Score", "Invalidate", "Default", "Options"), for
    // tests of the order of steps.
    std::vector<std::string> m_events;

private:
    friend class CRecordingDC;
    void ResizePixels();
    void FillPixels(int x, int y, int cx, int cy, COLORREF cr);

    std::vector<COLORREF> m_pixels;  // the client area as last drawn, row after row
    int m_nPixelWidth = 0;
    int m_nPixelHeight = 0;
};

// A scripted random sequence: rand() answers the queued values first, then a fixed linear
// congruential sequence. Seeds and calls are recorded.
class CFakeRuntime final : public IRuntime {
public:
    void srand(std::uint32_t nSeed) override;
    int rand() override;
    std::int64_t time() override { return m_nTime; }
    std::string GetProgramPath() override { return m_programPath; }
    CUserIds GetUserIds() override { return m_user.value_or(m_fallback.GetUserIds()); }
    CDataFolder GetUserDataDir() override { return m_userDataDir; }

    std::deque<int> m_randScript;
    std::vector<std::uint32_t> m_seeds;
    int m_nRandCalls = 0;
    std::int64_t m_nTime = 1700000000;
    std::string m_programPath = "/nonexistent/zorvik-test/zorvik";
    // No data folder by default: where the program's folder cannot take the score log, no log.
    CDataFolder m_userDataDir;
    std::optional<CUserIds> m_user;  // by default the user who runs the tests

private:
    CSystemRuntime m_fallback;
};

// A document, a fake window and runtime, and the view over them: one headless game.
struct CHeadlessGame {
    CZorvikDoc doc;
    CFakeWindow wnd;
    CFakeRuntime runtime;
    CZorvikView view{doc, wnd, runtime};
};
