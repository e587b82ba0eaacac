// The main frame: menu, accelerators, toolbar, status bar and the command table around the view.
#pragma once

#include <QMainWindow>
#include <QStringList>
#include <array>
#include <map>
#include <memory>
#include <optional>

#include "model/zorvikdoc.h"
#include "platform/runtime.h"
#include "platform/wintypes.h"
#include "qt/lockkeys.h"

class QAction;
class QLabel;
class QMenu;
class QToolBar;
class QStatusBar;
class CViewWidget;
class CZorvikApp;

class CMainFrame : public QMainWindow {
    Q_OBJECT

public:
    // The outer size of the frame when it first shows, window frame included.
    static constexpr int kOuterWidth = 470;
    static constexpr int kOuterHeight = 575;

    // Makes the frame with its bars and the view over doc; pApp answers the application's
    // commands (none when null).
    CMainFrame(CZorvikApp* pApp, CZorvikDoc& doc, IRuntime& runtime);
    ~CMainFrame() override;

    CViewWidget* GetView() const { return m_pView; }
    // The one action of a command; every menu item, button and accelerator of it triggers it.
    QAction* GetAction(UINT nID) const;

    // Carries out a command from any source: asks for its state first and drops it when
    // disabled, then offers it to the view, the frame and the application in turn.
    void OnCommand(UINT nID);
    // Asks the view, then the defaults, whether nID is enabled; sets its action and answers.
    bool UpdateCommandUI(UINT nID);
    void UpdateAllCommandUI();

    // Pane 0 of the status bar, shown at once.
    void SetMessageText(const QString& text);
    QString GetMessageText() const;
    // Shows the lock keys in panes 1 to 3; blank where the desktop cannot tell.
    void ShowLockKeys(const std::optional<CLockKeyState>& state);

    QToolBar* m_wndToolBar = nullptr;
    QStatusBar* m_wndStatusBar = nullptr;
    QLabel* m_pMessagePane = nullptr;
    std::array<QLabel*, 3> m_aIndicators{};  // CAP, NUM, SCRL

protected:
    bool event(QEvent* pEvent) override;
    void closeEvent(QCloseEvent* pEvent) override;
    // No toolbar menu on a right click: the bars are shown and hidden only by the commands,
    // which a game refuses.
    QMenu* createPopupMenu() override { return nullptr; }

private:
    void CreateMenus();
    void CreateToolBar();
    void CreateStatusBar();
    QAction* CreateAction(UINT nID, const QString& text);
    // Command handlers of the frame: Exit and the two bar switches.
    BOOL OnFrameCommand(UINT nID);
    bool IsAccelerator(const QKeyEvent& event);
    void ApplyOuterSize();
    // Gives the status bar the desktop's font, or a smaller one where some text of the message
    // pane would not show whole in a frame of the default size, and sizes the lock-key panes.
    void FitStatusBarFont();
    void SizeLockKeyPanes();  // for the status bar's font
    // Every text the message pane shows: the idle text, the command prompts and the view's own.
    QStringList MessagePaneTexts() const;

    CZorvikApp* m_pApp;
    CViewWidget* m_pView = nullptr;
    std::map<UINT, QAction*> m_actions;
    std::unique_ptr<CLockKeys> m_pLockKeys;
    bool m_bOuterSizePending = true;
    QSize m_sizeSet;
    // The frame's client width at the default outer size, once the window frame is known; 0
    // until the window first shows.
    int m_nClientWidth = 0;
};
