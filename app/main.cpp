#include <QApplication>
#include <QFile>
#include <QGuiApplication>
#include <cstdio>
#include <iostream>

#include "app/command_line.h"
#include "app/fizmo_app.h"
#include "app/problem_check.h"
#include "app/quit_signals.h"
#include "app/records_keeper.h"
#include "records/teacher_report.h"

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

// The teacher's page needs fonts, not a screen: it is drawn the same with or without one.
int WriteReport(const CommandLine& commandLine, int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    const RecordsChoice choice = RememberRecordsChoice(commandLine);
    QStringList inputs;
    for (const std::string& input : commandLine.reportInputs)
        inputs.append(QFile::decodeName(input.c_str()));
    if (inputs.isEmpty()) inputs.append(choice.recordsDir);
    return WriteTeacherReport(QFile::decodeName(commandLine.reportFile.c_str()), inputs,
                              choice.fluentSeconds, stderr);
}

}  // namespace

int main(int argc, char** argv) {
    // Names the folders where records and settings are kept, and the message boxes.
    QCoreApplication::setApplicationName(QStringLiteral("Fizmo"));
    const CommandLine commandLine = ParseCommandLine(argc, argv);
    if (commandLine.action == CommandLine::Action::Report)
        return WriteReport(commandLine, argc, argv);
    if (commandLine.action != CommandLine::Action::Run) return AnswerWithoutWindow(commandLine);

    QApplication application(argc, argv);
    CFizmoApp app(commandLine);
    if (!app.InitInstance()) return 1;
    QuitOnSessionEnd();
    const int status = application.exec();
    app.ExitInstance();
    return status;
}
