#pragma once
// `fizmo --report=PDF`: one PDF for a teacher, the class's page and then a page per child.

#include <QString>
#include <QStringList>
#include <cstdio>

// Writes an A4 PDF of the children found in `inputs` (record files, a child's folder, or a
// records folder of children's folders); with none, of every child in DefaultRecordsDir().
// What cannot be read is told on `err`. Needs a QGuiApplication. 0 when the PDF is written,
// 1 when it cannot be.
int WriteTeacherReport(const QString& outPdf, const QStringList& inputs, double fluentSeconds,
                       std::FILE* err);
