#include <QApplication>
#include <cstdio>
#include <iostream>

#include "app/command_line.h"
#include "app/fizmo_app.h"
#include "app/problem_check.h"

namespace {

// Help, version and a wrong command line are answered before any window or display.
int AnswerWithoutWindow(const CommandLine& commandLine) {
    switch (commandLine.action) {
        case CommandLine::Action::Help:
            std::fputs(HelpText().c_str(), stdout);
            return 0;
        case CommandLine::Action::Version:
            std::fputs(VersionText().c_str(), stdout);
            return 0;
        case CommandLine::Action::CheckProblems:
            return CheckProblemFile(commandLine.problemFile, std::cout);
        default:
            std::fputs(ErrorText(commandLine).c_str(), stderr);
            return 2;
    }
}

}  // namespace

int main(int argc, char** argv) {
    const CommandLine commandLine = ParseCommandLine(argc, argv);
    if (commandLine.action != CommandLine::Action::Run) return AnswerWithoutWindow(commandLine);

    QApplication application(argc, argv);
    CFizmoApp app(commandLine);
    if (!app.InitInstance()) return 1;
    const int status = application.exec();
    app.ExitInstance();
    return status;
}
