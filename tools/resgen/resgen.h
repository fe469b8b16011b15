#pragma once
// Everything the generator writes into res/, as (relative path, bytes).

#include <QByteArray>
#include <QImage>
#include <QString>
#include <vector>

namespace resgen {

struct OutputFile {
    QString path;  // relative to res/, e.g. "bmp/134.bmp"
    QByteArray bytes;
};

std::vector<OutputFile> GenerateAll();

// Writes GenerateAll() under `folder`; false when a file cannot be written.
bool WriteAll(const QString& folder, const std::vector<OutputFile>& files);

// Every picture at 1:1 and 2x, decoded back from the generated files, plus the sprites drawn
// through their masks on each background: for looking at, not for shipping.
QImage ContactSheet(const std::vector<OutputFile>& files);

}  // namespace resgen
