#include "app/fizmo_app.h"

#include <QApplication>
#include <QCoreApplication>
#include <QMenuBar>
#include <QMessageBox>
#include <QPointer>
#include <QTimer>
#include <cstdio>

#include "app/about_dialog.h"
#include "app/command_ids.h"
#include "app/demo_mode.h"
#include "app/fizmo_doc.h"
#include "app/main_frame.h"
#include "app/menu.h"
#include "app/name_dialog.h"
#include "app/practice_keeper.h"
#include "app/records_keeper.h"
#include "app/records_window.h"
#include "app/speech_keeper.h"
#include "app/view_host.h"
#include "game/fizmo_view.h"
#include "platform/sdl_sound_output.h"

CFizmoApp::CFizmoApp(CommandLine commandLine) : commandLine_(std::move(commandLine)) {
    // The title of the program's own message boxes.
    QCoreApplication::setApplicationName(QStringLiteral("Fizmo"));
}

CFizmoApp::~CFizmoApp() {
    recordsWindow_.reset();
    demo_.reset();
    frame_.reset();  // the view goes with its window, releasing the game's resources
}

bool CFizmoApp::InitInstance() {
    // First, so that the first problem is being made while the window comes up.
    speech_ = std::make_unique<SpeechKeeper>(commandLine_);
    doc_ = std::make_unique<CFizmoDoc>();
    frame_ = std::make_unique<CMainFrame>(this, doc_.get());
    if (!doc_->OnNewDocument()) return false;
    // Read at the view's first update, like the file a launch finds.
    if (!commandLine_.wordProblemFile.empty())
        frame_->View().m_strProblemFile = commandLine_.wordProblemFile;
    // The view's first update follows when the window is first shown.
    frame_->show();
    KeepSpeech();
    DumpMenuWhenAsked();
    ApplyStartOptions();
    if (commandLine_.demo) {
        demo_ = std::make_unique<DemoMode>(frame_.get());
        demo_->Begin();
    }
    KeepRecords();
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

void CFizmoApp::KeepRecords() {
    const QPointer<CMainFrame> frame = frame_.get();
    records_ = std::make_unique<RecordsKeeper>(commandLine_, [frame](const std::string& text) {
        std::fprintf(stderr, "fizmo: %s\n", text.c_str());
        // From the writer's thread, maybe as the window closes; play goes on behind the box,
        // as behind the game's own.
        QMetaObject::invokeMethod(
            qApp,
            [frame, text] {
                if (frame)
                    frame->Host().ShowMessageBox(QString::fromStdString(text), "Fizmo",
                                                 QMessageBox::Warning);
            },
            Qt::QueuedConnection);
    });
    practice_ = std::make_unique<PracticeKeeper>(commandLine_, records_.get());
    practice_->Attach(&frame_->View());
    // The demo's own questions are not the child's: rows begin when a player takes over.
    if (!demo_) {
        frame_->View().m_pQuestionLog = records_.get();
        return;
    }
    QObject::connect(&frame_->Host(), &FizmoViewHost::playerInput, frame_.get(),
                     [this] { frame_->View().m_pQuestionLog = records_.get(); });
}

void CFizmoApp::KeepSpeech() {
    speech_->BindAction(FindCommand(frame_->menuBar(), ID_READ_ALOUD));
    speech_->Attach(&frame_->View());
}

void CFizmoApp::AfterViewCommand() {
    if (speech_) speech_->Prepare();
}

void CFizmoApp::OnChildName() {
    QString name = records_->ChildName(), folder;
    if (!RunNameDialog(frame_.get(), records_->RecordsDir(), &name, &folder)) return;
    records_->SetChild(name, folder);
    practice_->Attach(&frame_->View());  // the new child's weak facts
    if (recordsWindow_) recordsWindow_->ShowChild();
}

void CFizmoApp::OnRecords() {
    if (!recordsWindow_)
        recordsWindow_ = std::make_unique<RecordsWindow>(records_.get(), frame_.get());
    // Opened afresh, on what the child plays; while it stays open, on what the parent chose.
    if (!recordsWindow_->isVisible()) recordsWindow_->ChooseKindsOf(frame_->View().m_nQuizMode);
    recordsWindow_->ShowChild();
    recordsWindow_->show();
    recordsWindow_->raise();
    recordsWindow_->activateWindow();
}

void CFizmoApp::ExitInstance() {
    recordsWindow_.reset();
    demo_.reset();
    frame_.reset();
    speech_.reset();  // its sound goes with the view's, before the device
    // The sound device stays open until the program ends; it goes after the view's sounds.
    ShutdownSoundOutput();
}

bool CFizmoApp::OnUpdateCommandUI(unsigned id, CmdUI* ui) {
    if (speech_ && speech_->OnUpdateCommandUI(id, ui)) return true;
    return practice_ && practice_->OnUpdateCommandUI(id, ui);
}

bool CFizmoApp::OnCommand(unsigned id) {
    if (practice_ && practice_->OnCommand(id)) return true;
    if (speech_ && speech_->OnCommand(id)) return true;
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
        case ID_CHILD_NAME:
            OnChildName();
            return true;
        case ID_RECORDS:
            OnRecords();
            return true;
        default:
            // Open and Save are not offered: the document has nothing to read or write.
            return false;
    }
}

void CFizmoApp::OnAppAbout() {
    CAboutDlg dialog(frame_.get(), speech_ ? speech_->Credit() : QString());
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
