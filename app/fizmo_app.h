#pragma once
// The application: creates the document and the main window, and handles the commands
// no one else does (About, New, Exit).

#include <memory>

#include "app/command_line.h"

class CFizmoDoc;
class CMainFrame;
class DemoMode;
class PracticeKeeper;
class RecordsKeeper;
class RecordsWindow;
class SpeechKeeper;

class CFizmoApp {
public:
    explicit CFizmoApp(CommandLine commandLine = {});
    ~CFizmoApp();

    // Creates and shows the main window; false when the program is to end at once.
    bool InitInstance();
    // Last words before the program ends.
    void ExitInstance();
    // Handles an application command; false when it has none for `id`.
    bool OnCommand(unsigned id);
    bool OnUpdateCommandUI(unsigned id, class CmdUI* ui);
    // The view changed its kind of question or its problem file, perhaps.
    void AfterViewCommand();

    CMainFrame* MainFrame() { return frame_.get(); }
    CFizmoDoc* Document() { return doc_.get(); }
    SpeechKeeper* Speech() { return speech_.get(); }

private:
    void OnAppAbout();
    void OnFileNew();
    void OnAppExit();
    void DumpMenuWhenAsked();
    // The start options choose what the menu chooses, through the same handlers.
    void ApplyStartOptions();
    void KeepRecords();
    void OnChildName();
    void OnRecords();
    void KeepSpeech();

    CommandLine commandLine_;
    std::unique_ptr<RecordsKeeper> records_;    // outlives the view, which writes its last row
    std::unique_ptr<PracticeKeeper> practice_;  // outlives the view, which asks it
    std::unique_ptr<SpeechKeeper> speech_;      // outlives the view, which asks it
    std::unique_ptr<CFizmoDoc> doc_;
    std::unique_ptr<CMainFrame> frame_;
    std::unique_ptr<DemoMode> demo_;
    std::unique_ptr<RecordsWindow> recordsWindow_;
};
