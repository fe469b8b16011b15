#pragma once
// The program's command line, read before any window exists.

#include <string>

struct CommandLine {
    enum class Action { Run, Help, Version, CheckProblems, Error };
    Action action = Action::Run;
    bool demo = false;
    // Chosen as from the menu before play: ID_MODE_* and ID_LEVEL_*, 0 where not given.
    unsigned quizCommand = 0;
    unsigned levelCommand = 0;
    std::string wordProblemFile;  // --word-problems=FILE; empty keeps the menu's file
    bool start = false;           // begins play as Start does
    std::string resultsFile;      // where the results sheet goes; empty for none
    std::string problemFile;      // for Action::CheckProblems
    std::string error;            // what was wrong, for Action::Error
};

CommandLine ParseCommandLine(int argc, const char* const* argv);
std::string HelpText();
std::string VersionText();
// The message for a wrong command line, ending with a hint to --help.
std::string ErrorText(const CommandLine& commandLine);
