#include "app/fizmo_app.h"

#include <QCoreApplication>
#include <QMenuBar>
#include <QTimer>
#include <cstdio>

#include "app/about_dialog.h"
#include "app/command_ids.h"
#include "app/demo_mode.h"
#include "app/fizmo_doc.h"
#include "app/main_frame.h"
#include "app/menu.h"
#include "app/results_sheet.h"
#include "app/view_host.h"
#include "game/fizmo_view.h"
#include "platform/sdl_sound_output.h"
#include "platform/sjis.h"

CFizmoApp::CFizmoApp(CommandLine commandLine) : commandLine_(std::move(commandLine)) {
    // The title of the program's own message boxes.
    QCoreApplication::setApplicationName(QStringLiteral("Fizmo"));
}

CFizmoApp::~CFizmoApp() {
    demo_.reset();
    frame_.reset();  // the view goes with its window, releasing the game's resources
}

bool CFizmoApp::InitInstance() {
    doc_ = std::make_unique<CFizmoDoc>();
    frame_ = std::make_unique<CMainFrame>(this, doc_.get());
    if (!doc_->OnNewDocument()) return false;
    // Read at the view's first update, like the file a launch finds.
    if (!commandLine_.wordProblemFile.empty())
        frame_->View().m_strProblemFile = commandLine_.wordProblemFile;
    // The view's first update follows when the window is first shown.
    frame_->show();
    DumpMenuWhenAsked();
    ApplyStartOptions();
    if (commandLine_.demo) {
        demo_ = std::make_unique<DemoMode>(frame_.get());
        demo_->Begin();
    }
    KeepResultsWhenAsked();
    return true;
}

void CFizmoApp::ApplyStartOptions() {
    if (commandLine_.quizCommand) frame_->OnCommand(commandLine_.quizCommand);
    if (commandLine_.levelCommand) frame_->OnCommand(commandLine_.levelCommand);
    // Queued behind the window's first update, which the show above asked for.
    if (commandLine_.start && !commandLine_.demo)
        QMetaObject::invokeMethod(
            frame_.get(), [this] { frame_->OnCommand(ID_START); }, Qt::QueuedConnection);
}

void CFizmoApp::KeepResultsWhenAsked() {
    if (commandLine_.resultsFile.empty()) return;
    CMainFrame* frame = frame_.get();
    results_ =
        std::make_unique<ResultsSheet>(commandLine_.resultsFile, [frame](const std::string& text) {
            std::fprintf(stderr, "fizmo: %s\n", text.c_str());
            // Play goes on behind the box, as behind the game's own.
            QTimer::singleShot(0, frame, [frame, text] {
                frame->Host().MessageBox(EncodeShiftJis(QString::fromStdString(text)), "Fizmo",
                                         MB_OK | MB_ICONEXCLAMATION);
            });
        });
    // The demo's own questions are not the child's: rows begin when a player takes over.
    if (!demo_) {
        frame_->View().m_pQuestionLog = results_.get();
        return;
    }
    QObject::connect(&frame_->Host(), &FizmoViewHost::playerInput, frame_.get(),
                     [this] { frame_->View().m_pQuestionLog = results_.get(); });
}

void CFizmoApp::ExitInstance() {
    demo_.reset();
    frame_.reset();
    // The sound device stays open until the program ends; it goes after the view's sounds.
    ShutdownSoundOutput();
}

bool CFizmoApp::OnCommand(unsigned id) {
    switch (id) {
        case ID_APP_ABOUT:
            OnAppAbout();
            return true;
        case ID_FILE_NEW:
            OnFileNew();
            return true;
        case ID_APP_EXIT:
            OnAppExit();
            return true;
        default:
            // Open and Save are not offered: the document has nothing to read or write.
            return false;
    }
}

void CFizmoApp::OnAppAbout() {
    CAboutDlg dialog(frame_.get());
    dialog.exec();
}

void CFizmoApp::OnFileNew() {
    // The one document is reused; the view sets itself up on its first update only.
    if (!doc_->OnNewDocument()) return;
    frame_->Host().InitialUpdate();
}

void CFizmoApp::OnAppExit() {
    frame_->close();  // nothing to save, so nothing to ask
}

void CFizmoApp::DumpMenuWhenAsked() {
    // For end-to-end tests: the menu as built, and where its entries are on the screen.
    if (qEnvironmentVariableIntValue("FIZMO_DUMP_MENU") != 1) return;
    QTimer::singleShot(200, frame_.get(), [this] {
        std::fputs(DescribeMenuBar(frame_->menuBar()).toUtf8().constData(), stdout);
        const QRect view(frame_->Host().mapToGlobal(QPoint(0, 0)), frame_->Host().size());
        std::printf("view\tat %d %d size %d %d\n", view.x(), view.y(), view.width(), view.height());
        std::fputs("end of menu\n", stdout);
        std::fflush(stdout);
    });
}
