#pragma once
// The main window: fixed caption, the size of the screen, the menu, the accelerators and
// the game view filling the rest. Commands go to the view, then the document, then the
// frame, then the application.

#include <QMainWindow>

class CFizmoApp;
class CFizmoDoc;
class FizmoViewHost;
class CFizmoView;

class CMainFrame : public QMainWindow {
    Q_OBJECT

public:
    CMainFrame(CFizmoApp* app, CFizmoDoc* doc);

    FizmoViewHost& Host() { return *host_; }
    CFizmoView& View();
    // Routes a menu or accelerator command.
    void OnCommand(unsigned id);

private:
    void PreCreateWindow();
    bool OnFrameCommand(unsigned id);
    void OnUpdateCommandUI(unsigned id, class CmdUI* ui);

    CFizmoApp* app_;
    CFizmoDoc* doc_;
    FizmoViewHost* host_;
};
