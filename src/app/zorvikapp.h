// The application: start-up, the one document with its frame and view, and the application's
// own commands.
#pragma once

#include <memory>

#include "app/mainframe.h"
#include "model/zorvikdoc.h"
#include "platform/runtime.h"
#include "platform/wintypes.h"

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
    IRuntime& m_runtime;
    std::unique_ptr<CZorvikDoc> m_pDocument;
    std::unique_ptr<CMainFrame> m_pMainFrame;
};
