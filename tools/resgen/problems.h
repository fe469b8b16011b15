#pragma once
// The sample word-problem file.

#include <QByteArray>

namespace resgen {

// Four lines per problem (three of text, one answer in ASCII digits), Shift-JIS, CR LF.
QByteArray MondaiDat();

}  // namespace resgen
