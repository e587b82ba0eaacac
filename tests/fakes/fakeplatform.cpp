#include "fakes/fakeplatform.h"

#include <algorithm>
#include <cstdint>

void CRecordingDC::FillSolidRect(int x, int y, int cx, int cy, COLORREF cr) {
    m_wnd.m_fills.push_back({x, y, cx, cy, cr, m_bClientDC});
    m_wnd.FillPixels(x, y, cx, cy, cr);
}

CFakeWindow::CFakeWindow() {
    ResizePixels();
}

void CFakeWindow::SetTimer(UINT_PTR nIDEvent, UINT nElapse) {
    m_timerCalls.push_back({true, nIDEvent, nElapse});
    m_activeTimers[nIDEvent] = nElapse;
    m_events.push_back("SetTimer " + std::to_string(nIDEvent) + " " + std::to_string(nElapse));
}

void CFakeWindow::KillTimer(UINT_PTR nIDEvent) {
    m_timerCalls.push_back({false, nIDEvent, 0});
    m_activeTimers.erase(nIDEvent);
    m_events.push_back("KillTimer " + std::to_string(nIDEvent));
}

void CFakeWindow::InvalidateRect() {
    ++m_nInvalidations;
    m_bErasePending = true;
    m_events.push_back("Invalidate");
}

std::unique_ptr<CDC> CFakeWindow::GetClientDC() {
    ++m_nClientDCs;
    return std::make_unique<CRecordingDC>(*this, true);
}

void CFakeWindow::Default() {
    ++m_nDefaults;
    m_events.push_back("Default");
}

void CFakeWindow::SetMainWindowText(const std::string& text) {
    m_captions.push_back(text);
    m_events.push_back("Caption " + text);
}

void CFakeWindow::SetStatusPaneText(const std::string& text) {
    m_statusTexts.push_back(text);
    m_events.push_back("Status " + text);
}

int CFakeWindow::MessageBox(const std::string& text, const std::string& caption, UINT nType) {
    m_messageBoxes.push_back({text, caption, nType});
    m_events.push_back("MessageBox " + caption);
    if (m_fnOnMessageBox) {
        m_fnOnMessageBox(text, caption);
    }
    return IDOK;
}

void CFakeWindow::MessageBeep(UINT nType) {
    m_beeps.push_back(nType);
    m_events.push_back("Beep " + std::to_string(nType));
}

int CFakeWindow::DoOptionsDialog(COptionsValues& values) {
    m_optionsShown.push_back(values);
    m_events.push_back("Options");
    return m_fnOptionsDialog ? m_fnOptionsDialog(values) : IDCANCEL;
}

void CFakeWindow::SetClientSize(CZorvikView& view, int cx, int cy) {
    m_rcClient = {0, 0, cx, cy};
    ResizePixels();
    m_bErasePending = true;
    Paint(view);
}

void CFakeWindow::Paint(CZorvikView& view) {
    if (m_bErasePending) {
        std::fill(m_pixels.begin(), m_pixels.end(), kBackground);
        m_bErasePending = false;
    }
    CRecordingDC dc(*this, false);
    view.OnDraw(&dc);
}

void CFakeWindow::ClearRecords() {
    m_timerCalls.clear();
    m_nInvalidations = 0;
    m_nDefaults = 0;
    m_nClientDCs = 0;
    m_captions.clear();
    m_statusTexts.clear();
    m_messageBoxes.clear();
    m_beeps.clear();
    m_optionsShown.clear();
    m_fills.clear();
    m_events.clear();
}

COLORREF CFakeWindow::Pixel(int x, int y) const {
    if (x < 0 || y < 0 || x >= m_nPixelWidth || y >= m_nPixelHeight) {
        return kBackground;
    }
    return m_pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(m_nPixelWidth) +
                    static_cast<std::size_t>(x)];
}

UINT CFakeWindow::TimerPeriod(UINT_PTR nIDEvent) const {
    const auto it = m_activeTimers.find(nIDEvent);
    return it == m_activeTimers.end() ? 0 : it->second;
}

std::vector<CFill> CFakeWindow::ClientFills() const {
    std::vector<CFill> fills;
    std::copy_if(m_fills.begin(), m_fills.end(), std::back_inserter(fills),
                 [](const CFill& f) { return f.bClientDC; });
    return fills;
}

std::vector<CFill> CFakeWindow::PaintFills() const {
    std::vector<CFill> fills;
    std::copy_if(m_fills.begin(), m_fills.end(), std::back_inserter(fills),
                 [](const CFill& f) { return !f.bClientDC; });
    return fills;
}

void CFakeWindow::ResizePixels() {
    m_nPixelWidth = std::max(m_rcClient.Width(), 0);
    m_nPixelHeight = std::max(m_rcClient.Height(), 0);
    m_pixels.assign(
        static_cast<std::size_t>(m_nPixelWidth) * static_cast<std::size_t>(m_nPixelHeight),
        kBackground);
}

void CFakeWindow::FillPixels(int x, int y, int cx, int cy, COLORREF cr) {
    // Clipped in 64 bits, so that no rectangle the view hands on can overflow here.
    const int nLeft = std::max(x, 0);
    const int nTop = std::max(y, 0);
    const auto nRight =
        static_cast<int>(std::min<std::int64_t>(std::int64_t{x} + std::max(cx, 0), m_nPixelWidth));
    const auto nBottom =
        static_cast<int>(std::min<std::int64_t>(std::int64_t{y} + std::max(cy, 0), m_nPixelHeight));
    for (int py = nTop; py < nBottom; ++py) {
        for (int px = nLeft; px < nRight; ++px) {
            m_pixels[static_cast<std::size_t>(py) * static_cast<std::size_t>(m_nPixelWidth) +
                     static_cast<std::size_t>(px)] = cr;
        }
    }
}

void CFakeRuntime::srand(std::uint32_t nSeed) {
    m_seeds.push_back(nSeed);
    m_fallback.srand(nSeed);
}

int CFakeRuntime::rand() {
    ++m_nRandCalls;
    if (!m_randScript.empty()) {
        const int n = m_randScript.front();
        m_randScript.pop_front();
        return n;
    }
    return m_fallback.rand();
}
