#include "app/command_line.h"

#include <QCommandLineParser>
#include <QStringList>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <optional>
#include <string_view>
#include <utility>

#include "game/fizmo_view.h"

namespace {

constexpr double kLeastFluentSeconds = 1;
constexpr double kMostFluentSeconds = 120;

// Options that QApplication and its X11 platform take for themselves: a desktop launcher
// or a user may pass them to any Qt program. They reach QApplication untouched.
constexpr std::string_view kQtOptionsWithValue[] = {
    // QGuiApplication's
    "-platform", "-platformpluginpath", "-platformtheme", "-plugin", "-qwindowgeometry",
    "-qwindowtitle", "-qwindowicon", "-session",
    // QApplication's
    "-style", "-stylesheet",
    // the X11 platform's
    "-display", "-geometry", "-title", "-icon", "-name", "-visual", "-ncols"};
constexpr std::string_view kQtFlags[] = {
    // QApplication's and QGuiApplication's, then the X11 platform's
    "-reverse", "-widgetcount", "-testability", "-sync", "-nograb", "-dograb", "-cmap"};
constexpr std::string_view kQtOptionsWithJoinedValue[] = {
    // QApplication's and QCoreApplication's
    "-style=", "-stylesheet=", "-qmljsdebugger="};

// How many words a Qt option takes (1 or 2), or 0 when `arg` is not one. Qt accepts each
// with one dash or two.
int QtOptionWords(std::string_view arg) {
    if (arg == "--name") return 0;  // the game's own child's name; Qt's is -name
    if (arg.starts_with("--")) arg.remove_prefix(1);
    for (std::string_view flag : kQtFlags)
        if (arg == flag) return 1;
    for (std::string_view prefix : kQtOptionsWithJoinedValue)
        if (arg.starts_with(prefix)) return 1;
    for (std::string_view option : kQtOptionsWithValue)
        if (arg == option) return 2;
    return 0;
}

CommandLine Failure(std::string error) {
    CommandLine result;
    result.action = CommandLine::Action::Error;
    result.error = std::move(error);
    return result;
}

// Qt's own message, in the style of the others, with an unknown option as it was typed.
std::string ParserError(const QCommandLineParser& parser, const QStringList& args) {
    const QStringList unknown = parser.unknownOptionNames();
    if (!unknown.isEmpty()) {
        const QString name = unknown.front();
        for (const QString& arg : args)
            if (arg.startsWith('-') && arg.section('=', 0, 0).endsWith(name))
                return "unknown option '" + arg.toStdString() + "'";
    }
    std::string error = parser.errorText().toStdString();
    if (!error.empty()) error[0] = static_cast<char>(std::tolower(error[0]));
    if (!error.empty() && error.back() == '.') error.pop_back();
    return error;
}

// The game's arguments, with Qt's own options set aside for QApplication, and a joined
// --word-problems=FILE split off: Qt's parser knows no option whose value may be left out.
std::optional<std::string> GameArguments(int argc, const char* const* argv, QStringList* args,
                                         std::string* wordProblemFile) {
    args->append(QStringLiteral("fizmo"));
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (const int words = QtOptionWords(arg)) {
            if (i + words > argc) return "option '" + std::string(arg) + "' needs a value";
            i += words - 1;
            continue;
        }
        constexpr std::string_view kJoined = "--word-problems=";
        if (arg.starts_with(kJoined)) {
            *wordProblemFile = arg.substr(kJoined.size());
            if (wordProblemFile->empty()) return "--word-problems= needs the name of a file";
            args->append(QStringLiteral("--word-problems"));
            continue;
        }
        args->append(QString::fromLocal8Bit(argv[i]));
    }
    return std::nullopt;
}

std::optional<std::string> ChooseQuiz(const QCommandLineParser& parser, CommandLine* result) {
    const std::pair<const char*, unsigned> kinds[] = {{"times-tables", ID_MODE_TIMES_TABLE},
                                                      {"additions", ID_MODE_ADDITION},
                                                      {"subtractions", ID_MODE_SUBTRACTION},
                                                      {"divisions", ID_MODE_DIVISION},
                                                      {"word-problems", ID_MODE_WORD_PROBLEMS}};
    for (const auto& [name, command] : kinds) {
        if (!parser.isSet(name)) continue;
        if (result->quizCommand)
            return std::string(
                "choose only one of --times-tables, --additions, --subtractions, --divisions "
                "and --word-problems");
        result->quizCommand = command;
    }
    if (result->wordProblemFile.empty()) return std::nullopt;
    // A launcher's mistake shows here, not as a message box in front of a child.
    std::FILE* file = std::fopen(result->wordProblemFile.c_str(), "rb");
    if (!file)
        return "cannot read the word problems '" + result->wordProblemFile +
               "': " + std::strerror(errno);
    std::fclose(file);
    return std::nullopt;
}

std::optional<std::string> ChooseLevel(const QCommandLineParser& parser, CommandLine* result) {
    if (!parser.isSet("level")) return std::nullopt;
    const QString level = parser.value("level");
    if (level == "easy") result->levelCommand = ID_LEVEL_EASY;
    if (level == "normal") result->levelCommand = ID_LEVEL_NORMAL;
    if (level == "hard") result->levelCommand = ID_LEVEL_HARD;
    if (result->levelCommand) return std::nullopt;
    return "--level: unknown level '" + level.toStdString() + "' (easy, normal or hard)";
}

std::optional<std::string> ChooseRecords(const QCommandLineParser& parser, CommandLine* result) {
    result->noRecords = parser.isSet("no-records");
    if (parser.isSet("name")) result->childName = parser.value("name").toStdString();
    result->recordsDir = parser.value("records-dir").toLocal8Bit().toStdString();
    if (parser.isSet("records-dir") && result->recordsDir.empty())
        return std::string("--records-dir needs the name of a folder");
    if (!parser.isSet("fluent-seconds")) return std::nullopt;
    bool number = false;
    result->fluentSeconds = parser.value("fluent-seconds").toDouble(&number);
    if (number && result->fluentSeconds >= kLeastFluentSeconds &&
        result->fluentSeconds <= kMostFluentSeconds)
        return std::nullopt;
    return "--fluent-seconds: '" + parser.value("fluent-seconds").toStdString() +
           "' is not a number of seconds from 1 to 120";
}

std::optional<std::string> ChoosePractice(const QCommandLineParser& parser, CommandLine* result) {
    result->practiceWeak = parser.isSet("practice-weak");
    if (parser.isSet("table")) {
        const QString table = parser.value("table");
        bool number = false;
        const int n = table == "all" ? 0 : table.toInt(&number);
        if ((!number && table != "all") || n < 0 || n > kLastTable)
            return "--table: '" + table.toStdString() + "' is not a 段 from 1 to 9, nor all";
        result->table = n;
    }
    if (parser.isSet("carry")) {
        const QString carry = parser.value("carry");
        if (carry == "all") result->carry = CarryChoice::kAll;
        if (carry == "none") result->carry = CarryChoice::kNone;
        if (carry == "only") result->carry = CarryChoice::kOnly;
        if (!result->carry)
            return "--carry: unknown choice '" + carry.toStdString() + "' (all, none or only)";
    }
    if (!parser.isSet("order")) return std::nullopt;
    const QString order = parser.value("order");
    if (order == "up") result->order = TableOrder::kUp;
    if (order == "down") result->order = TableOrder::kDown;
    if (order == "shuffle") result->order = TableOrder::kShuffle;
    if (result->order) return std::nullopt;
    return "--order: unknown order '" + order.toStdString() + "' (up, down or shuffle)";
}

std::optional<std::string> ChooseSpeech(const QCommandLineParser& parser, CommandLine* result) {
    result->readAloud = parser.isSet("read-aloud");
    if (!parser.isSet("voice")) return std::nullopt;
    result->voiceFile = parser.value("voice").toLocal8Bit().toStdString();
    std::FILE* file = std::fopen(result->voiceFile.c_str(), "rb");
    if (!file) return "cannot read the voice '" + result->voiceFile + "': " + std::strerror(errno);
    std::fclose(file);
    return std::nullopt;
}

}  // namespace

CommandLine ParseCommandLine(int argc, const char* const* argv) {
    CommandLine result;
    QStringList args;
    if (auto error = GameArguments(argc, argv, &args, &result.wordProblemFile))
        return Failure(*error);

    QCommandLineParser parser;
    const QCommandLineOption help(QStringList{"h", "help"});
    const QCommandLineOption checkProblems("check-problems", {}, "FILE");
    const QCommandLineOption level("level", {}, "LEVEL");
    const QCommandLineOption results("results", {}, "FILE");
    const QCommandLineOption report("report", {}, "PDF");
    parser.addOptions({help,
                       QCommandLineOption("version"),
                       QCommandLineOption("demo"),
                       checkProblems,
                       QCommandLineOption("times-tables"),
                       QCommandLineOption("additions"),
                       QCommandLineOption("subtractions"),
                       QCommandLineOption("divisions"),
                       QCommandLineOption("word-problems"),
                       level,
                       QCommandLineOption("start"),
                       results,
                       report,
                       QCommandLineOption("no-records"),
                       QCommandLineOption("name", {}, "NAME"),
                       QCommandLineOption("records-dir", {}, "DIR"),
                       QCommandLineOption("fluent-seconds", {}, "N"),
                       QCommandLineOption("table", {}, "N"),
                       QCommandLineOption("order", {}, "ORDER"),
                       QCommandLineOption("carry", {}, "CHOICE"),
                       QCommandLineOption("practice-weak"),

                       QCommandLineOption("read-aloud"),
                       QCommandLineOption("voice", {}, "FILE")});
    if (!parser.parse(args)) return Failure(ParserError(parser, args));
    if (parser.isSet(help)) {
        result.action = CommandLine::Action::Help;
        return result;
    }
    if (parser.isSet("version")) {
        result.action = CommandLine::Action::Version;
        return result;
    }
    if (parser.isSet(checkProblems)) {
        result.action = CommandLine::Action::CheckProblems;
        result.problemFile = parser.value(checkProblems).toLocal8Bit().toStdString();
        return result;
    }
    if (auto error = ChooseRecords(parser, &result)) return Failure(*error);
    if (auto error = ChoosePractice(parser, &result)) return Failure(*error);
    if (auto error = ChooseSpeech(parser, &result)) return Failure(*error);
    if (parser.isSet(report)) {
        result.action = CommandLine::Action::Report;
        result.reportFile = parser.value(report).toLocal8Bit().toStdString();
        for (const QString& input : parser.positionalArguments())
            result.reportInputs.push_back(input.toLocal8Bit().toStdString());
        if (result.reportFile.empty()) return Failure("--report needs the name of a PDF file");
        return result;
    }
    // The game keeps no documents, so a file name is as wrong as an unknown option.
    if (!parser.positionalArguments().isEmpty())
        return Failure("unexpected argument '" +
                       parser.positionalArguments().front().toStdString() + "'");
    if (auto error = ChooseQuiz(parser, &result)) return Failure(*error);
    if (auto error = ChooseLevel(parser, &result)) return Failure(*error);
    result.demo = parser.isSet("demo");
    result.start = parser.isSet("start");
    result.resultsFile = parser.value(results).toLocal8Bit().toStdString();
    if (parser.isSet(results) && result.resultsFile.empty())
        return Failure("--results needs the name of a file");
    return result;
}

std::string HelpText() {
    return "Usage: fizmo [OPTION]... | fizmo --check-problems FILE | fizmo --help|--version\n"
           "An arithmetic drill game for young children: shoot the tiles of the answer.\n"
           "  --demo                   the game plays by itself until you move the mouse\n"
           "  --times-tables|--additions|--subtractions|--divisions|--word-problems[=FILE]\n"
           "                           choose the quiz as the menu does (word problems for\n"
           "                           school years 1 to 3: /usr/share/fizmo/problems)\n"
           "  --table=1..9|all, --order=up|down|shuffle, --carry=all|none|only,\n"
           "  --practice-weak          practice by 段, with or without carrying, weak facts\n"
           "  --level=easy|normal|hard choose the level as the menu does; --start: at once\n"
           "  --name=NAME              keep the child NAME's records (--no-records: none;\n"
           "    --records-dir, --fluent-seconds, --results, --report=PDF: see man fizmo)\n"
           "  --check-problems FILE    check word problems; --read-aloud, --voice=FILE: よみあげ\n"
           "\n"
           "使い方: fizmo [オプション]... | fizmo --check-problems ファイル | --help・--version\n"
           "子ども向けの計算ドリルゲームです。マウスで宇宙船を動かし、答えの数字を撃ちます。\n"
           "  --demo                   ゲームが自動で遊びます (マウスやキーで止まります)\n"
           "  --times-tables (九九)・--additions (たしざん)・--subtractions (ひきざん)・\n"
           "  --divisions (わりざん)・--word-problems[=ファイル] (文章題): 計算の種類\n"
           "  --table・--order・--carry・--practice-weak  段・くりあがり・にがて\n"
           "  --level=easy|normal|hard レベルを選びます。--start: すぐに始めます\n"
           "  --name=なまえ            その子の記録を残します (--no-records: 残さない。\n"
           "    --records-dir・--fluent-seconds・--results・--report は man fizmo に)\n"
           "  --check-problems ファイル 文章題を調べます。--read-aloud・--voice: よみあげ\n"
           "Qt's options (-platform, -display, -style, ...) are taken too.\n";
}

std::string VersionText() {
    return "Fizmo (フィズモ) Version 2.0\n";
}

std::string ErrorText(const CommandLine& commandLine) {
    return "fizmo: " + commandLine.error +
           "\n"
           "Try 'fizmo --help' for more information.\n"
           "くわしくは 'fizmo --help' を見てください。\n";
}
