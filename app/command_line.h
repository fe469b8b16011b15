#pragma once
// The program's command line, read before any window exists.

#include <optional>
#include <string>
#include <vector>

#include "game/practice.h"

struct CommandLine {
    enum class Action { Run, Help, Version, CheckProblems, Report, Error };
    Action action = Action::Run;
    bool demo = false;
    // Chosen as from the menu before play: ID_MODE_* and ID_LEVEL_*, 0 where not given.
    unsigned quizCommand = 0;
    unsigned levelCommand = 0;
    std::string wordProblemFile;  // --word-problems=FILE; empty keeps the menu's file
    bool start = false;           // begins play as Start does
    std::string resultsFile;      // where the results sheet goes; empty for none
    // The child's records: each remembered for the next start once given.
    bool noRecords = false;
    std::optional<std::string> childName;  // UTF-8; empty for the unnamed record
    std::string recordsDir;                // empty keeps the one remembered
    double fluentSeconds = 0;              // 0 keeps the one remembered
    // Practice, each remembered once given: --table=1..9|all, --order, --carry,
    // --practice-weak.
    std::optional<int> table;
    std::optional<TableOrder> order;
    std::optional<CarryChoice> carry;
    bool practiceWeak = false;
    // よみあげ, remembered once given: --read-aloud and --voice=FILE.
    bool readAloud = false;
    std::string voiceFile;
    // For Action::Report: the PDF to write, and the records to read (none: this computer's).
    std::string reportFile;
    std::vector<std::string> reportInputs;
    std::string problemFile;  // for Action::CheckProblems
    std::string error;        // what was wrong, for Action::Error
};

CommandLine ParseCommandLine(int argc, const char* const* argv);
std::string HelpText();
std::string VersionText();
// The message for a wrong command line, ending with a hint to --help.
std::string ErrorText(const CommandLine& commandLine);
