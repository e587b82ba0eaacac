// The application: start-up, the one document with its frame and view, and the application's
// own commands.
#pragma once

#include <memory>

#include "app/mainframe.h"
#include "model/zorvikdoc.h"
#include "platform/runtime.h"
#include "platform/wintypes.h"

class QString;
class QTranslator;

// Loads Qt's own Dutch texts (its standard dialogs and buttons, the edits' context menus) from
// Qt's translation folder into translator; false when the folder holds no readable catalogue.
bool LoadFrameworkTranslation(QTranslator& translator, const QString& folder);

class CZorvikApp {
public:
    // runtime gives the view its random sequence, clock and program path (the score log's
    // folder).
    explicit CZorvikApp(IRuntime& runtime);
    ~CZorvikApp();
    CZorvikApp(const CZorvikApp&) = delete;
    CZorvikApp& operator=(const CZorvikApp&) = delete;

    // Start-up with an empty command line: the document, the frame and the view, shown.
    // Needs a QApplication. Returns FALSE when the frame could not be made.
    BOOL InitInstance();

    // The application's command table; TRUE when it handled nID.
    BOOL OnCommand(UINT nID);
    void OnAppAbout();
    void OnFileNew();

    CMainFrame* m_pMainWnd = nullptr;  // the frame, owned below

private:
    void InstallFrameworkTranslation();

    // Declared first: it stays installed until every window has gone.
    std::unique_ptr<QTranslator> m_pFrameworkTranslator;
    IRuntime& m_runtime;
    std::unique_ptr<CZorvikDoc> m_pDocument;
    std::unique_ptr<CMainFrame> m_pMainFrame;
};
