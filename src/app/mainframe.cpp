#include "app/mainframe.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QFont>
#include <QFontMetrics>
#include <QImage>
#include <QKeyEvent>
#include <QLabel>
#include <QLayout>
#include <QMenu>
#include <QMenuBar>
#include <QPixmap>
#include <QShortcut>
#include <QSizeGrip>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QToolBar>
#include <QToolButton>
#include <QWindow>
#include <algorithm>
#include <initializer_list>
#include <vector>

#include "app/appresource.h"
#include "app/optionsdlg.h"
#include "app/zorvikapp.h"
#include "game/resource.h"
#include "game/zorvikview.h"
#include "platform/cmdui.h"
#include "qt/lockkeys.h"
#include "qt/viewwidget.h"

namespace {

// The menu: drop-downs left to right; a 0 is a separator.
struct CMenuItem {
    UINT nID;
    const char* pszText;
};
struct CDropDown {
    const char* pszCaption;
    std::initializer_list<CMenuItem> items;
};
const std::initializer_list<CDropDown> kMenu = {
    {"&Bestand", {{ID_APP_EXIT, "E&xit"}}},
    {"Beel&d", {{ID_VIEW_TOOLBAR, "&Werkbalk"}, {ID_VIEW_STATUS_BAR, "&Statusregel"}}},
    {"&Speel",
     {{ID_GAME_OPTIONS, "&Opties..."},
      {ID_GAME_START, "&Start"},
      {0, nullptr},
      {ID_GAME_SHOWSCORE, "Toon score..."}}},
    {"&Hulp", {{ID_APP_ABOUT, "&Over Zorvik..."}}},
};

// The accelerators, and whether the command's menu item shows the key.
struct CAccelerator {
    UINT nID;
    QKeyCombination key;
    bool bKeyTextInMenu;
};
const std::initializer_list<CAccelerator> kAccelerators = {
    {ID_GAME_OPTIONS, Qt::CTRL | Qt::Key_E, true},
    {ID_GAME_START, Qt::CTRL | Qt::Key_F, true},
    {ID_APP_ABOUT, QKeyCombination(Qt::Key_F1), false},
};

// The toolbar: buttons in order, 0 a separator; the images stand side by side in
// the bitmap in button order.
const std::initializer_list<UINT> kToolBarButtons = {ID_GAME_START, 0, ID_GAME_OPTIONS, 0,
                                                     ID_APP_ABOUT};
constexpr QSize kButtonImage(16, 15);
// The scales the images are drawn at, toolbar@1.25x.xpm and so on, each one a desktop may ask
// for, so that Qt never scales one and blurs it: at a scale factor f the toolbar asks for the
// button size times f, rounded.
constexpr std::array<qreal, 5> kToolBarScales = {1.0, 1.25, 1.5, 1.75, 2.0};

// The status bar's panes 1 to 3, which show the lock keys: the string that is each one's text,
// and the name a screen reader gives it, shown or blank.
struct CIndicator {
    UINT nID;
    const char* pszKeyName;
};
constexpr std::array<CIndicator, 3> kIndicators = {{
    {ID_INDICATOR_CAPS, "Caps Lock"},
    {ID_INDICATOR_NUM, "Num Lock"},
    {ID_INDICATOR_SCRL, "Scroll Lock"},
}};

// The status bar's font never gets smaller than this, whatever the desktop's font.
constexpr qreal kMinStatusPoints = 7;
// The lock-key panes' padding inside their frames, each side, in pixels.
constexpr int kLockKeyPanePadding = 2;

// The width the widest of texts and the lock-key panes' texts need side by side in font.
int NeededWidth(const QFont& font, const QStringList& texts) {
    const QFontMetrics metrics(font);
    int nWidth = 0;
    for (const QString& text : texts) {
        nWidth = std::max(nWidth, metrics.horizontalAdvance(text));
    }
    for (const CIndicator& indicator : kIndicators) {
        nWidth += metrics.horizontalAdvance(LoadString(indicator.nID));
    }
    return nWidth;
}

}  // namespace

CMainFrame::CMainFrame(CZorvikApp* pApp, CZorvikDoc& doc, IRuntime& runtime) : m_pApp(pApp) {
    setWindowTitle(LoadString(AFX_IDS_APP_TITLE));
    m_pView = new CViewWidget(doc, runtime, this);
    setCentralWidget(m_pView);

    CreateMenus();
    CreateToolBar();
    CreateStatusBar();

    // Until its first paint the view is named by the frame's caption and described by "Klaar".
    m_pView->setAccessibleName(windowTitle());
    m_pView->setAccessibleDescription(LoadString(AFX_IDS_IDLEMESSAGE));
    connect(m_pView, &CViewWidget::CaptionChanged, this, &QWidget::setWindowTitle);
    connect(m_pView, &CViewWidget::StatusTextChanged, this, &CMainFrame::SetMessageText);
    connect(m_pView, &CViewWidget::ViewEventDone, this, &CMainFrame::UpdateAllCommandUI);
    m_pView->m_fnIsAccelerator = [this](const QKeyEvent& event) { return IsAccelerator(event); };
    m_pView->m_fnOptionsDialog = [this](COptionsValues& values) {
        COptionsDlg dlg(this);
        static_cast<COptionsValues&>(dlg) = values;
        const int nResult = dlg.DoModal();
        if (nResult == IDOK) {
            values = dlg;
        }
        return nResult;
    };

    // Before the window manager has framed the window its frame is unknown: start with the
    // outer size as client size and correct it on the show and move events.
    m_sizeSet = QSize(kOuterWidth, kOuterHeight);
    resize(m_sizeSet);
    m_pView->setFocus();
    UpdateAllCommandUI();
}

CMainFrame::~CMainFrame() = default;

QAction* CMainFrame::CreateAction(UINT nID, const QString& text) {
    auto* pAction = new QAction(text, this);
    pAction->setStatusTip(CommandPrompt(nID));
    const QString tip = CommandTip(nID);
    if (!tip.isEmpty()) {
        pAction->setToolTip(tip);
    }
    connect(pAction, &QAction::triggered, this, [this, nID] { OnCommand(nID); });
    m_actions[nID] = pAction;
    // The frame holds every action, so its accelerator works whatever bar is hidden.
    addAction(pAction);
    return pAction;
}

void CMainFrame::CreateMenus() {
    for (const CDropDown& dropDown : kMenu) {
        QMenu* pMenu = menuBar()->addMenu(QString::fromUtf8(dropDown.pszCaption));
        for (const CMenuItem& item : dropDown.items) {
            if (item.nID == 0) {
                pMenu->addSeparator();
            } else {
                pMenu->addAction(CreateAction(item.nID, QString::fromUtf8(item.pszText)));
            }
        }
        // A drop-down asks for the state of its items each time it opens.
        connect(pMenu, &QMenu::aboutToShow, this, &CMainFrame::UpdateAllCommandUI);
    }
    for (const CAccelerator& accelerator : kAccelerators) {
        if (accelerator.bKeyTextInMenu) {
            m_actions.at(accelerator.nID)->setShortcut(QKeySequence(accelerator.key));
            continue;
        }
        // A menu prints every shortcut of its item's action: a key without text in the menu is
        // a shortcut of the window instead.
        auto* pShortcut = new QShortcut(QKeySequence(accelerator.key), this);
        connect(pShortcut, &QShortcut::activated, this,
                [this, nID = accelerator.nID] { OnCommand(nID); });
    }
}

void CMainFrame::CreateToolBar() {
    m_wndToolBar = new QToolBar(CommandTip(ID_VIEW_TOOLBAR), this);
    m_wndToolBar->setObjectName(QStringLiteral("m_wndToolBar"));
    m_wndToolBar->setMovable(true);
    m_wndToolBar->setFloatable(true);
    m_wndToolBar->setAllowedAreas(Qt::AllToolBarAreas);
    m_wndToolBar->setIconSize(kButtonImage);
    m_wndToolBar->setToolButtonStyle(Qt::ToolButtonIconOnly);
    std::vector<QImage> bitmaps;
    for (const qreal dScale : kToolBarScales) {
        bitmaps.emplace_back(dScale == 1.0 ? QStringLiteral(":/res/toolbar.xpm")
                                           : QStringLiteral(":/res/toolbar@%1x.xpm").arg(dScale));
    }
    int nImage = 0;
    for (const UINT nID : kToolBarButtons) {
        if (nID == 0) {
            m_wndToolBar->addSeparator();
            continue;
        }
        QAction* pAction = m_actions.at(nID);
        QIcon icon;
        for (std::size_t i = 0; i < bitmaps.size(); ++i) {
            const QSize size = kButtonImage * kToolBarScales[i];
            QPixmap pixmap =
                QPixmap::fromImage(bitmaps[i].copy(QRect(QPoint(nImage * size.width(), 0), size)));
            pixmap.setDevicePixelRatio(kToolBarScales[i]);
            icon.addPixmap(pixmap);
        }
        pAction->setIcon(icon);
        ++nImage;
        m_wndToolBar->addAction(pAction);
        // A button never takes the keyboard from the view.
        if (QWidget* pButton = m_wndToolBar->widgetForAction(pAction)) {
            pButton->setFocusPolicy(Qt::NoFocus);
        }
    }
    // Icons are for the toolbar only; menu items stay text.
    for (const auto& [nID, pAction] : m_actions) {
        pAction->setIconVisibleInMenu(false);
    }
    addToolBar(Qt::TopToolBarArea, m_wndToolBar);
}

void CMainFrame::CreateStatusBar() {
    m_wndStatusBar = new QStatusBar(this);
    m_wndStatusBar->setObjectName(QStringLiteral("m_wndStatusBar"));
    m_pMessagePane = new QLabel(LoadString(AFX_IDS_IDLEMESSAGE), m_wndStatusBar);
    m_pMessagePane->setTextFormat(Qt::PlainText);
    m_pMessagePane->setMinimumWidth(1);  // a long text never widens the window
    m_wndStatusBar->addWidget(m_pMessagePane, 1);
    for (std::size_t i = 0; i < kIndicators.size(); ++i) {
        auto* pPane = new QLabel(m_wndStatusBar);
        pPane->setAlignment(Qt::AlignCenter);
        pPane->setFrameShape(QFrame::Panel);
        pPane->setFrameShadow(QFrame::Sunken);
        pPane->setAccessibleName(QLatin1String(kIndicators[i].pszKeyName));
        m_wndStatusBar->addPermanentWidget(pPane);
        m_aIndicators[i] = pPane;
    }
    setStatusBar(m_wndStatusBar);

    // Qt cannot tell the lock keys; the X server or the compositor announces their changes.
    m_pLockKeys =
        FollowLockKeys([this](const std::optional<CLockKeyState>& state) { ShowLockKeys(state); });
    ShowLockKeys(m_pLockKeys->State());
}

QStringList CMainFrame::MessagePaneTexts() const {
    QStringList texts = {LoadString(AFX_IDS_IDLEMESSAGE)};
    for (const std::string& text : CZorvikView::WidestStatusTexts()) {
        texts.push_back(QString::fromStdString(text));
    }
    for (const auto& [nID, pAction] : m_actions) {
        texts.push_back(CommandPrompt(nID));
    }
    return texts;
}

void CMainFrame::SizeLockKeyPanes() {
    for (std::size_t i = 0; i < kIndicators.size(); ++i) {
        // A pane is as wide as its text, shown or not, with padding each side inside its frame.
        QLabel* pPane = m_aIndicators[i];
        pPane->setFixedWidth(
            pPane->fontMetrics().horizontalAdvance(LoadString(kIndicators[i].nID)) +
            2 * (pPane->frameWidth() + kLockKeyPanePadding));
    }
}

void CMainFrame::FitStatusBarFont() {
    QLayout* pLayout = m_wndStatusBar->layout();
    if (pLayout == nullptr) {
        return;
    }
    // The room for the message pane's widest text and the lock-key panes' texts, which narrow
    // with the font too: the bar laid out once in the desktop's font, as wide as the frame's
    // client area at the default size. Until the bar first shows, its size grip is hidden and
    // the layout gives it no room; in a window of the default size it shows, so it counts here.
    QFont font = QApplication::font(m_wndStatusBar);
    m_wndStatusBar->setFont(font);
    SizeLockKeyPanes();
    auto* pGrip = m_wndStatusBar->findChild<QSizeGrip*>();
    const QSizePolicy gripPolicy = pGrip != nullptr ? pGrip->sizePolicy() : QSizePolicy();
    if (pGrip != nullptr) {
        QSizePolicy policy = gripPolicy;
        policy.setRetainSizeWhenHidden(true);
        pGrip->setSizePolicy(policy);
    }
    const QSize barSize = m_wndStatusBar->size();
    m_wndStatusBar->resize(m_nClientWidth, barSize.height());
    pLayout->invalidate();
    pLayout->activate();
    const int nRoom = m_pMessagePane->contentsRect().width() + NeededWidth(font, {});
    if (pGrip != nullptr) {
        pGrip->setSizePolicy(gripPolicy);
    }
    // The desktop's size where they fit that room, else the largest size in half points (a font
    // given in pixels: whole pixels) at which they do, down to the smallest.
    const QStringList texts = MessagePaneTexts();
    const bool bPoints = font.pointSizeF() > 0;
    qreal dSize = bPoints ? font.pointSizeF() : font.pixelSize();
    const qreal dMin =
        std::min(dSize, bPoints ? kMinStatusPoints : kMinStatusPoints * logicalDpiY() / 72.0);
    while (NeededWidth(font, texts) > nRoom && dSize > dMin) {
        dSize = std::max(dSize - (bPoints ? 0.5 : 1), dMin);
        bPoints ? font.setPointSizeF(dSize) : font.setPixelSize(qRound(dSize));
    }
    m_wndStatusBar->setFont(font);
    SizeLockKeyPanes();
    // Back to the width the window gives the bar now.
    m_wndStatusBar->resize(barSize);
    pLayout->invalidate();
    pLayout->activate();
}

QAction* CMainFrame::GetAction(UINT nID) const {
    const auto it = m_actions.find(nID);
    return it != m_actions.end() ? it->second : nullptr;
}

bool CMainFrame::UpdateCommandUI(UINT nID) {
    QAction* pAction = GetAction(nID);
    CCmdUI cmdUI(nID);
    // The view answers first; a command nobody decides on is enabled, for every command of the
    // table has a handler.
    if (!(m_pView->View().OnUpdateCommand(&cmdUI) && cmdUI.m_bEnableChanged)) {
        cmdUI.m_bEnabled = TRUE;
    }
    const bool bEnabled = cmdUI.m_bEnabled;
    if (pAction != nullptr && pAction->isEnabled() != bEnabled) {
        pAction->setEnabled(bEnabled);
    }
    return bEnabled;
}

void CMainFrame::UpdateAllCommandUI() {
    for (const auto& [nID, pAction] : m_actions) {
        UpdateCommandUI(nID);
    }
}

void CMainFrame::OnCommand(UINT nID) {
    if (!UpdateCommandUI(nID)) {
        return;
    }
    if (!m_pView->View().OnCommand(nID) && !OnFrameCommand(nID) && m_pApp != nullptr) {
        m_pApp->OnCommand(nID);
    }
    UpdateAllCommandUI();
}

BOOL CMainFrame::OnFrameCommand(UINT nID) {
    switch (nID) {
        case ID_APP_EXIT:
            close();
            return TRUE;
        case ID_VIEW_TOOLBAR:
            m_wndToolBar->setHidden(!m_wndToolBar->isHidden());
            return TRUE;
        case ID_VIEW_STATUS_BAR:
            m_wndStatusBar->setHidden(!m_wndStatusBar->isHidden());
            return TRUE;
        default:
            return FALSE;
    }
}

bool CMainFrame::IsAccelerator(const QKeyEvent& event) {
    const QKeySequence key(event.keyCombination());
    for (const CAccelerator& accelerator : kAccelerators) {
        if (QKeySequence(accelerator.key) == key) {
            // An enabled accelerator never gets here: Qt's shortcut has taken it already.
            OnCommand(accelerator.nID);
            return true;
        }
    }
    return false;
}

void CMainFrame::SetMessageText(const QString& text) {
    m_pMessagePane->setText(text);
    // Inside the view's paint the status bar is painted with the rest of the window.
    if (!m_pView->IsPainting() && m_pMessagePane->isVisible()) {
        m_pMessagePane->repaint();
    }
}

QString CMainFrame::GetMessageText() const {
    return m_pMessagePane->text();
}

void CMainFrame::ShowLockKeys(const std::optional<CLockKeyState>& state) {
    const std::array<bool, 3> aOn = {state && state->bCaps, state && state->bNum,
                                     state && state->bScroll};
    for (std::size_t i = 0; i < aOn.size(); ++i) {
        const QString text = aOn[i] ? LoadString(kIndicators[i].nID) : QString();
        if (m_aIndicators[i]->text() != text) {
            m_aIndicators[i]->setText(text);
        }
    }
}

void CMainFrame::ApplyOuterSize() {
    const QWindow* pWindow = windowHandle();
    const QMargins margins = pWindow != nullptr ? pWindow->frameMargins() : QMargins();
    m_sizeSet = QSize(kOuterWidth - margins.left() - margins.right(),
                      kOuterHeight - margins.top() - margins.bottom());
    resize(m_sizeSet);
    if (!margins.isNull()) {
        m_bOuterSizePending = false;
    }
    // The status bar is as wide as the client area, which the window frame narrows. Its font is
    // fitted here, when the window first shows, and again only when the frame narrows it.
    if (m_nClientWidth != m_sizeSet.width()) {
        m_nClientWidth = m_sizeSet.width();
        FitStatusBarFont();
    }
}

bool CMainFrame::event(QEvent* pEvent) {
    switch (pEvent->type()) {
        case QEvent::StatusTip: {
            // Prompts go into pane 0; when a prompt ends the idle text comes back.
            const QString tip = static_cast<QStatusTipEvent*>(pEvent)->tip();
            SetMessageText(tip.isEmpty() ? LoadString(AFX_IDS_IDLEMESSAGE) : tip);
            return true;
        }
        case QEvent::Show:
        case QEvent::Move:
            if (m_bOuterSizePending) {
                ApplyOuterSize();
            }
            break;
        case QEvent::ApplicationFontChange:
            // The desktop's font changed: the status bar follows it as far as its texts fit.
            FitStatusBarFont();
            break;
        case QEvent::Resize:
            // Once the player has sized the window it keeps the size the player gave it.
            if (m_bOuterSizePending && size() != m_sizeSet && isVisible()) {
                m_bOuterSizePending = false;
            }
            break;
        default:
            break;
    }
    return QMainWindow::event(pEvent);
}

void CMainFrame::closeEvent(QCloseEvent* pEvent) {
    // The close box ends the program at once, also during a game: the view stops its timer now,
    // so no tick can end the game with a report while the window goes.
    m_pView->Destroy();
    pEvent->accept();
}
