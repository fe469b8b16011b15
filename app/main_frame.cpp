#include "app/main_frame.h"

#include <QFile>
#include <QGuiApplication>
#include <QMenuBar>
#include <QScreen>

#include "app/accelerators.h"
#include "app/fizmo_app.h"
#include "app/fizmo_doc.h"
#include "app/menu.h"
#include "app/view_host.h"
#include "game/fizmo_view.h"

CMainFrame::CMainFrame(CFizmoApp* app, CFizmoDoc* doc)
    : app_(app), doc_(doc), host_(new FizmoViewHost(this)) {
    PreCreateWindow();
    setCentralWidget(host_);
    const CommandHandler onCommand = [this](unsigned id) { OnCommand(id); };
    BuildMainMenu(menuBar(), onCommand,
                  [this](unsigned id, CmdUI* ui) { OnUpdateCommandUI(id, ui); });
    InstallAccelerators(this, onCommand);
}

CFizmoView& CMainFrame::View() {
    return host_->View();
}

void CMainFrame::PreCreateWindow() {
    // The caption is set once: no document name is ever added to it.
    setWindowTitle(QStringLiteral("フィズモ"));
    for (const char* name : {":/fizmo.png", ":/fizmo.ico"})
        if (QFile::exists(name)) setWindowIcon(QIcon(name));
    if (const QScreen* screen = QGuiApplication::primaryScreen()) resize(screen->size());
    setWindowState(Qt::WindowMaximized);
}

void CMainFrame::OnCommand(unsigned id) {
    if (View().OnCommand(id)) return app_->AfterViewCommand();
    if (doc_->OnCommand(id)) return;
    if (OnFrameCommand(id)) return;
    app_->OnCommand(id);
}

bool CMainFrame::OnFrameCommand(unsigned) {
    return false;  // the view is never split: the pane keys have nothing to do
}

void CMainFrame::OnUpdateCommandUI(unsigned id, CmdUI* ui) {
    if (!View().OnUpdateCommandUI(id, ui)) app_->OnUpdateCommandUI(id, ui);
}
