#include "app/zorvikapp.h"

#include <QApplication>
#include <QIcon>
#include <QLibraryInfo>
#include <QTranslator>

#include "app/aboutdlg.h"
#include "game/resource.h"
#include "qt/viewwidget.h"

// The icons and the toolbar bitmap live in a resource of the static library: pull it in.
static void InitResources() {
    Q_INIT_RESOURCE(zorvik);
}

CZorvikApp::CZorvikApp(IRuntime& runtime) : m_runtime(runtime) {}

CZorvikApp::~CZorvikApp() = default;

BOOL CZorvikApp::InitInstance() {
    InitResources();
    InstallFrameworkTranslation();
    QApplication::setApplicationName(QStringLiteral("zorvik"));
    QApplication::setApplicationVersion(QStringLiteral(ZORVIK_VERSION));
    // Lets Wayland compositors and docks find the desktop entry, and with it the icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("nl.zorvik.Zorvik"));
    // The application's icon, in the sizes of the installed icon theme: on every window, in task
    // switchers, and in the About box.
    QIcon icon;
    for (const int nSize : {16, 22, 24, 32, 48, 64, 128, 256}) {
        icon.addFile(
            QStringLiteral(":/res/icons/hicolor/%1x%1/apps/nl.zorvik.Zorvik.png").arg(nSize),
            QSize(nSize, nSize));
    }
    QApplication::setWindowIcon(icon);

    OnFileNew();
    if (m_pMainWnd == nullptr) {
        return FALSE;
    }
    m_pMainWnd->show();
    return TRUE;
}

bool LoadFrameworkTranslation(QTranslator& translator, const QString& folder) {
    return translator.load(QStringLiteral("qtbase_nl"), folder);
}

void CZorvikApp::InstallFrameworkTranslation() {
    // The program speaks Dutch whatever the desktop's language, and so do Qt's own texts. Where
    // Debian's translations are not installed they stay English, without a word about it.
    auto pTranslator = std::make_unique<QTranslator>();
    if (LoadFrameworkTranslation(*pTranslator,
                                 QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QCoreApplication::installTranslator(pTranslator.get());
        m_pFrameworkTranslator = std::move(pTranslator);
    }
}

BOOL CZorvikApp::OnCommand(UINT nID) {
    switch (nID) {
        case ID_APP_ABOUT:
            OnAppAbout();
            return TRUE;
        default:
            return FALSE;
    }
}

void CZorvikApp::OnAppAbout() {
    CAboutDlg dlg(m_pMainWnd);
    dlg.DoModal();
    if (m_pMainWnd != nullptr) {
        m_pMainWnd->GetView()->TakeKeyboard();
    }
}

void CZorvikApp::OnFileNew() {
    // A single-document program makes its document, frame and view once; a later New keeps them.
    if (m_pMainFrame) {
        return;
    }
    m_pDocument = std::make_unique<CZorvikDoc>();
    m_pMainFrame = std::make_unique<CMainFrame>(this, *m_pDocument, m_runtime);
    m_pMainWnd = m_pMainFrame.get();
}
