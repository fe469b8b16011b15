#include "app/command_line.h"

#include <string_view>

namespace {

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
    if (arg.starts_with("--")) arg.remove_prefix(1);
    for (std::string_view flag : kQtFlags)
        if (arg == flag) return 1;
    for (std::string_view prefix : kQtOptionsWithJoinedValue)
        if (arg.starts_with(prefix)) return 1;
    for (std::string_view option : kQtOptionsWithValue)
        if (arg == option) return 2;
    return 0;
}

}  // namespace

CommandLine ParseCommandLine(int argc, const char* const* argv) {
    CommandLine result;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            result.action = CommandLine::Action::Help;
            return result;
        }
        if (arg == "--version") {
            result.action = CommandLine::Action::Version;
            return result;
        }
        if (arg == "--check-problems") {
            if (i + 1 >= argc) {
                result.action = CommandLine::Action::Error;
                result.error = "--check-problems needs the name of a problem file";
                return result;
            }
            result.action = CommandLine::Action::CheckProblems;
            result.problemFile = argv[i + 1];
            return result;
        }
        if (arg == "--demo") {
            result.demo = true;
            continue;
        }
        if (const int words = QtOptionWords(arg)) {
            if (i + words > argc) {
                result.action = CommandLine::Action::Error;
                result.error = "option '" + std::string(arg) + "' needs a value";
                return result;
            }
            i += words - 1;
            continue;
        }
        result.action = CommandLine::Action::Error;
        // The game keeps no documents, so a file name is as wrong as an unknown option.
        result.error = arg.starts_with("-") ? "unknown option '" + std::string(arg) + "'"
                                            : "unexpected argument '" + std::string(arg) + "'";
        return result;
    }
    return result;
}

std::string HelpText() {
    return "Usage: fizmo [--demo]\n"
           "       fizmo --check-problems FILE\n"
           "An arithmetic drill game for young children: steer the ship with the mouse and\n"
           "shoot the numbered tiles that make up the answer.\n"
           "\n"
           "  --demo      the game plays by itself until you move the mouse, click or press a key\n"
           "  --check-problems FILE\n"
           "              show the word problems of FILE as the game will, and what is wrong\n"
           "  --help      show this help and exit\n"
           "  --version   show the version and exit\n"
           "Qt's own options (-platform, -display, -style, -reverse, ...) are taken too.\n"
           "\n"
           "使い方: fizmo [--demo]\n"
           "        fizmo --check-problems ファイル\n"
           "子ども向けの計算ドリルゲームです。マウスで宇宙船を動かし、答えの数字を撃ちます。\n"
           "\n"
           "  --demo      ゲームが自動で遊びます (マウスやキーを使うと止まります)\n"
           "  --check-problems ファイル\n"
           "              文章題のファイルを調べ、ゲームでの見え方とまちがいを表示します\n"
           "  --help      この説明を表示して終了します\n"
           "  --version   バージョンを表示して終了します\n";
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
