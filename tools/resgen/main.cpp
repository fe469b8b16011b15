// fizmo_resgen FOLDER [--sheet FILE.png]: writes the game's pictures, sounds, icon and sample
// problems under FOLDER (normally res/), and optionally a contact sheet of the pictures.

#include <QCoreApplication>
#include <cstdio>

#include "tools/resgen/resgen.h"

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 2 && !(args.size() == 4 && args[2] == "--sheet")) {
        std::fprintf(stderr, "usage: fizmo_resgen FOLDER [--sheet FILE.png]\n");
        return 2;
    }
    const auto files = resgen::GenerateAll();
    if (!resgen::WriteAll(args[1], files)) {
        std::fprintf(stderr, "fizmo_resgen: cannot write under %s\n", qPrintable(args[1]));
        return 1;
    }
    if (args.size() == 4 && !resgen::ContactSheet(files).save(args[3])) {
        std::fprintf(stderr, "fizmo_resgen: cannot write %s\n", qPrintable(args[3]));
        return 1;
    }
    return 0;
}
