#pragma once
// The program's command line, read before any window exists.

#include <string>

struct CommandLine {
    enum class Action { Run, Help, Version, CheckProblems, Error };
    Action action = Action::Run;
    bool demo = false;
    std::string problemFile;  // for Action::CheckProblems
    std::string error;        // what was wrong, for Action::Error
};

CommandLine ParseCommandLine(int argc, const char* const* argv);
std::string HelpText();
std::string VersionText();
// The message for a wrong command line, ending with a hint to --help.
std::string ErrorText(const CommandLine& commandLine);
