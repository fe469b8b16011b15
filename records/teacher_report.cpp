#include "records/teacher_report.h"

#include <QDir>
#include <QFileInfo>
#include <QMap>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>
#include <vector>

#include "records/child_folders.h"
#include "records/record_reader.h"
#include "records/records_painter.h"

namespace {

// Each child's files and folders, by name, and so in the order a teacher looks a child up;
// records of one child from two places make one page.
using Children = QMap<QString, QStringList>;

void Say(std::FILE* err, const QString& text) {
    std::fprintf(err, "fizmo: %s\n", text.toUtf8().constData());
}

bool HoldsRecords(const QDir& dir) {
    return !dir.entryList({"*.csv"}, QDir::Files | QDir::System).isEmpty();
}

// A record file, a child's folder, or a records folder of children's folders.
void Gather(const QString& input, Children* children, std::FILE* err) {
    const QFileInfo info(input);
    if (info.isDir()) {
        // The folder's own name, even when given as "." or with a slash at the end.
        const QDir dir(info.absoluteFilePath());
        if (HoldsRecords(dir))
            return (*children)[ChildNameOfFolder(dir.dirName())].append(dir.path());
        bool any = false;
        for (const QString& sub : dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name)) {
            if (!HoldsRecords(QDir(dir.filePath(sub)))) continue;
            (*children)[ChildNameOfFolder(sub)].append(dir.filePath(sub));
            any = true;
        }
        if (!any) Say(err, input + ": きろくが ありません / no records in this folder");
    } else if (info.isFile() && info.isReadable()) {
        (*children)[info.completeBaseName()].append(input);
    } else {
        Say(err, input + (info.exists() ? ": よめません / cannot be read"
                                        : ": ありません / no such file or folder"));
    }
}

}  // namespace

int WriteTeacherReport(const QString& outPdf, const QStringList& inputs, double fluentSeconds,
                       std::FILE* err) {
    Children children;
    for (const QString& input : inputs.isEmpty() ? QStringList{DefaultRecordsDir()} : inputs)
        Gather(input, &children, err);

    // A child's rows at a time: a class's years of rows are never all held at once.
    std::vector<ChildSummary> summaries;
    for (auto it = children.begin(); it != children.end(); ++it) {
        std::vector<RecordRow> rows;
        SkippedRecords skipped;
        for (const QString& source : *it) ReadRecords(source, &rows, &skipped);
        summaries.push_back(
            SummarizeChild(it.key().toStdString(), std::move(rows), fluentSeconds, skipped));
        const std::string line = SkippedLine(skipped);
        if (!line.empty())
            Say(err, (it.key().isEmpty() ? "なまえなし" : it.key()) + ": " +
                         QString::fromStdString(line));
    }

    // Written aside and put in place at the end: a failed run leaves no half a PDF.
    QSaveFile file(outPdf);
    if (!file.open(QIODevice::WriteOnly)) {
        Say(err, outPdf + ": かけません / cannot be written: " + file.errorString());
        return 1;
    }
    QPdfWriter writer(&file);
    writer.setPageSize(QPageSize(QPageSize::A4));
    writer.setPageOrientation(QPageLayout::Portrait);
    writer.setPageMargins(QMarginsF(12, 12, 12, 12), QPageLayout::Millimeter);
    writer.setResolution(300);
    writer.setTitle("フィズモ きろく");
    writer.setCreator("Fizmo");
    QPainter painter;
    if (!painter.begin(&writer)) {
        Say(err, outPdf + ": かけません / cannot be written");
        return 1;
    }
    const QRectF area(QPointF(0, 0), writer.pageLayout().paintRectPixels(300).size());
    PaintClassPage(painter, area, summaries);
    for (const ChildSummary& child : summaries) {
        writer.newPage();
        PaintChildPage(painter, area, child, fluentSeconds);
    }
    painter.end();
    if (!file.commit()) {
        Say(err, outPdf + ": かけません / cannot be written: " + file.errorString());
        return 1;
    }
    return 0;
}
