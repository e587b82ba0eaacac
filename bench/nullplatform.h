// A platform that answers every call and shows nothing, so a benchmark measures only the game.
#pragma once

#include <benchmark/benchmark.h>

#include <memory>
#include <string>
#include <utility>

#include "platform/runtime.h"
#include "platform/viewwindow.h"

// A surface that discards its fills (kept observable, so no fill is optimised away).
class CNullDC final : public CDC {
public:
    void FillSolidRect(int x, int y, int cx, int cy, COLORREF cr) override {
        benchmark::DoNotOptimize(x + y + cx + cy + static_cast<int>(cr));
    }
};

// A window whose timers, texts, sounds and boxes do nothing; its message box returns at once.
class CNullWindow final : public IViewWindow {
public:
    explicit CNullWindow(CRect rcClient = {0, 0, 1100, 1100}) : m_rcClient(rcClient) {}

    void SetTimer(UINT_PTR, UINT) override {}
    void KillTimer(UINT_PTR) override {}
    void InvalidateRect() override {}
    CRect GetClientRect() const override { return m_rcClient; }
    COLORREF GetBackgroundColour() const override { return 0x00FFFFFF; }
    std::unique_ptr<CDC> GetClientDC() override { return std::make_unique<CNullDC>(); }
    void Default() override {}
    void SetMainWindowText(const std::string&) override {}
    void SetStatusPaneText(const std::string&) override {}
    int MessageBox(const std::string&, const std::string&, UINT) override { return IDOK; }
    void MessageBeep(UINT) override {}
    int DoOptionsDialog(COptionsValues&) override { return IDCANCEL; }

private:
    CRect m_rcClient;
};

// The system's random sequence at a fixed time, so every game gets the same pieces, with the
// program placed where the benchmark says; by default nowhere, and with no data folder, so no
// score log is written.
class CBenchRuntime final : public IRuntime {
public:
    explicit CBenchRuntime(std::string programPath = {}) : m_programPath(std::move(programPath)) {}

    void srand(std::uint32_t nSeed) override { m_random.srand(nSeed); }
    int rand() override { return m_random.rand(); }
    std::int64_t time() override { return 1700000000; }
    std::string GetProgramPath() override { return m_programPath; }
    CUserIds GetUserIds() override { return m_random.GetUserIds(); }
    CDataFolder GetUserDataDir() override { return {}; }

private:
    CSystemRuntime m_random;
    std::string m_programPath;
};
