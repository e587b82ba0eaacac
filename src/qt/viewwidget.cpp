#include "qt/viewwidget.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPaintEvent>
#include <QPainter>
#include <algorithm>
#include <cstdint>

#include "qt/colour.h"
#include "qt/keymap.h"

CImageDC::CImageDC(CViewWidget& wnd, bool bClient) : m_pWnd(&wnd), m_bClient(bClient) {}

CImageDC::~CImageDC() {
    if (m_bClient && m_pWnd && !m_rcTouched.isEmpty()) {
        m_pWnd->update(m_rcTouched);
    }
}

void CImageDC::FillSolidRect(int x, int y, int cx, int cy, COLORREF cr) {
    if (!m_pWnd || cx <= 0 || cy <= 0) {
        return;
    }
    QImage& image = m_pWnd->m_image;
    // Clip in 64 bits: the game may pass rectangles far beyond the client area.
    const int nLeft = static_cast<int>(std::max<std::int64_t>(x, 0));
    const int nTop = static_cast<int>(std::max<std::int64_t>(y, 0));
    const int nRight =
        static_cast<int>(std::min<std::int64_t>(static_cast<std::int64_t>(x) + cx, image.width()));
    const int nBottom =
        static_cast<int>(std::min<std::int64_t>(static_cast<std::int64_t>(y) + cy, image.height()));
    if (nLeft >= nRight || nTop >= nBottom) {
        return;
    }
    const QRgb rgb = ToQRgb(cr);
    const qsizetype nStride = image.bytesPerLine();
    uchar* pBits = image.bits();
    for (int row = nTop; row < nBottom; ++row) {
        auto* pLine = reinterpret_cast<QRgb*>(pBits + row * nStride);
        std::fill(pLine + nLeft, pLine + nRight, rgb);
    }
    m_rcTouched |= QRect(nLeft, nTop, nRight - nLeft, nBottom - nTop);
}

CViewWidget::CViewWidget(CZorvikDoc& doc, IRuntime& runtime, QWidget* pParent)
    : QWidget(pParent), m_view(doc, *this, runtime), m_image(size(), QImage::Format_RGB32) {
    setFocusPolicy(Qt::StrongFocus);
    // The backing image covers every pixel: Qt need not clear the widget first.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

CViewWidget::~CViewWidget() {
    Destroy();
}

void CViewWidget::Destroy() {
    if (m_bDestroyed) {
        return;
    }
    m_bDestroyed = true;
    m_view.OnDestroy();
    for (auto& [nIDEvent, pTimer] : m_timers) {
        pTimer->stop();
    }
}

void CViewWidget::TakeKeyboard() {
    QWidget* pWindow = window();
    if (m_bDestroyed || !pWindow->isVisible()) {
        return;
    }
    // A box that closed over another one (a game ending under the About box) hands the keyboard
    // to the box still open.
    if (QWidget* pModal = QApplication::activeModalWidget(); pModal != nullptr) {
        pModal->activateWindow();
        return;
    }
    pWindow->activateWindow();
    setFocus(Qt::OtherFocusReason);
}

void CViewWidget::PaintImage() {
    m_bErasePending = false;
    m_image.fill(ToQRgb(GetBackgroundColour()));
    CImageDC dc(*this, false);
    m_view.OnDraw(&dc);
}

void CViewWidget::paintEvent(QPaintEvent* pEvent) {
    m_bInPaint = true;
    if (m_bErasePending) {
        PaintImage();
    }
    QPainter painter(this);
    painter.drawImage(pEvent->rect(), m_image, pEvent->rect());
    m_bInPaint = false;
}

void CViewWidget::resizeEvent(QResizeEvent* pEvent) {
    QWidget::resizeEvent(pEvent);
    if (m_image.size() != size()) {
        m_image = QImage(size(), QImage::Format_RGB32);
    }
    // A change of size repaints the whole view.
    m_bErasePending = true;
    update();
}

void CViewWidget::changeEvent(QEvent* pEvent) {
    QWidget::changeEvent(pEvent);
    // A new desktop palette brings a new background: repaint the view whole on it.
    if (pEvent->type() == QEvent::PaletteChange) {
        InvalidateRect();
    }
}

void CViewWidget::keyPressEvent(QKeyEvent* pEvent) {
    if (m_fnIsAccelerator && m_fnIsAccelerator(*pEvent)) {
        pEvent->accept();
        return;
    }
    // A key pressed with Alt, and without Ctrl, is a system key: it belongs to the frame (the
    // menus' mnemonics) and never reaches the game. Ctrl+Alt is an ordinary key, as AltGr is.
    const Qt::KeyboardModifiers modifiers = pEvent->modifiers();
    if (modifiers.testFlag(Qt::AltModifier) && !modifiers.testFlag(Qt::ControlModifier)) {
        pEvent->ignore();
        return;
    }
    const std::optional<CKeyTranslation> key = TranslateKey(pEvent->key(), modifiers);
    if (!key) {
        pEvent->ignore();
        return;
    }
    const bool bOuterInKeyDown = m_bInKeyDown;
    const bool bOuterDefaulted = m_bDefaulted;
    m_bInKeyDown = true;
    m_bDefaulted = false;
    // Every press is a key message, auto-repeated ones too.
    m_view.OnKeyDown(key->nVirtKey, 1, key->Flags(pEvent->isAutoRepeat()));
    // Default processing of a key in a view does nothing: the key goes on to the frame.
    pEvent->setAccepted(!m_bDefaulted);
    m_bInKeyDown = bOuterInKeyDown;
    m_bDefaulted = bOuterDefaulted;
    emit ViewEventDone();
}

void CViewWidget::keyReleaseEvent(QKeyEvent* pEvent) {
    // A release is never a move.
    pEvent->ignore();
}

void CViewWidget::SetTimer(UINT_PTR nIDEvent, UINT nElapse) {
    if (m_bDestroyed) {
        return;
    }
    std::unique_ptr<QTimer>& pTimer = m_timers[nIDEvent];
    if (!pTimer) {
        pTimer = std::make_unique<QTimer>();
        // The fall interval shortens by 5 ms a row: a coarse timer would swallow that.
        pTimer->setTimerType(Qt::PreciseTimer);
        connect(pTimer.get(), &QTimer::timeout, this, [this, nIDEvent] {
            m_view.OnTimer(nIDEvent);
            emit ViewEventDone();
        });
    }
    pTimer->start(static_cast<int>(std::min<UINT>(nElapse, INT32_MAX)));
}

void CViewWidget::KillTimer(UINT_PTR nIDEvent) {
    const auto it = m_timers.find(nIDEvent);
    if (it != m_timers.end()) {
        it->second->stop();
    }
}

void CViewWidget::InvalidateRect() {
    m_bErasePending = true;
    update();
}

CRect CViewWidget::GetClientRect() const {
    return CRect{0, 0, width(), height()};
}

COLORREF CViewWidget::GetBackgroundColour() const {
    // The colour of a window's content, that of text views and entries (white in a light
    // palette), not the grey face of dialogs and buttons.
    return ToColorRef(palette().color(QPalette::Base));
}

std::unique_ptr<CDC> CViewWidget::GetClientDC() {
    // Inside a paint the paint shows the image itself once OnDraw is done.
    return std::make_unique<CImageDC>(*this, !m_bInPaint);
}

void CViewWidget::Default() {
    if (m_bInKeyDown) {
        m_bDefaulted = true;
    }
}

void CViewWidget::SetMainWindowText(const std::string& text) {
    const QString caption = QString::fromStdString(text);
    // A screen reader names the field by the caption (level and size) and describes it by the
    // view's last status text. Set at every paint: tell assistive tools only of a change.
    if (accessibleName() != caption) {
        setAccessibleName(caption);
    }
    emit CaptionChanged(caption);
}

void CViewWidget::SetStatusPaneText(const std::string& text) {
    const QString status = QString::fromStdString(text);
    if (accessibleDescription() != status) {
        setAccessibleDescription(status);
    }
    emit StatusTextChanged(status);
}

int CViewWidget::MessageBox(const std::string& text, const std::string& caption, UINT nType) {
    QMessageBox box(this);
    box.setWindowTitle(QString::fromStdString(caption));
    box.setTextFormat(Qt::PlainText);
    box.setText(QString::fromStdString(text));
    const UINT nIcon = nType & MB_ICONMASK;
    box.setIcon(nIcon == MB_ICONEXCLAMATION ? QMessageBox::Warning
                : nIcon == MB_ICONASTERISK  ? QMessageBox::Information
                                            : QMessageBox::NoIcon);
    box.setStandardButtons(QMessageBox::Ok);
    box.exec();
    TakeKeyboard();
    return IDOK;
}

void CViewWidget::MessageBeep(UINT nType) {
    m_sound.Play(nType);
}

int CViewWidget::DoOptionsDialog(COptionsValues& values) {
    if (!m_fnOptionsDialog) {
        return IDCANCEL;
    }
    const int nResult = m_fnOptionsDialog(values);
    TakeKeyboard();
    return nResult;
}
