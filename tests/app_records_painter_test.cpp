// The records pages as a parent and a teacher see them: every fact in its state's colour, in
// a window and on a page, and the teacher's PDF holding its words as text.
#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <cstdio>
#include <fstream>

#include "records/records_painter.h"
#include "records/teacher_report.h"

namespace {

TEST(AppRecordsPainterTest, EveryCellHasItsFactsColourInAWindowAndOnAPage) {
    ChildSummary child;
    child.name = "たろう";
    for (auto& grid : child.states) {
        grid[7][3] = grid[1][0] = FactState::kKnown;
        grid[6][7] = grid[9][0] = FactState::kPractice;
        grid[9][9] = grid[2][5] = FactState::kAlmost;
    }
    // Every block below the grids, so that they take their room.
    child.sessions.assign(kSessionsShown, {"2026-12-01", 40, 31, 4.25});
    child.wordFiles = {{"year2.txt", 32, 25}};
    child.skipped.files = {"pc2.csv"};
    ChildSummary other;
    other.states[0][7][3] = FactState::kKnown;
    for (const QSize size : {QSize(1366, 700), QSize(2480, 3508)}) {
        const QRectF area(QPointF(8, 30), size - QSize(16, 38));
        QImage image(size, QImage::Format_RGB32), classImage(size, QImage::Format_RGB32);
        image.fill(Qt::white);
        classImage.fill(Qt::white);
        {
            QPainter painter(&image), classPainter(&classImage);
            PaintChildPage(painter, area, child, 10);
            PaintClassPage(classPainter, area, {child, other});
        }
        const PageGrids grids = ChildPageGrids(area, child, 10);
        ASSERT_EQ(grids.size(), 4u) << "every kind on the page";
        EXPECT_EQ(FactText(KindAt(2), {5, 8}), "13 － 5 = 8");
        EXPECT_EQ(FactText(KindAt(3), {7, 6}), "42 ÷ 7 = 6");
        EXPECT_EQ(FactText(KindAt(3), {0, 6}), "") << "nothing is divided by 0";
        for (const FactGridCells& cells : grids)
            for (int a = KindAt(cells.kind).firstRow; a < kOperands; ++a)
                for (int b = 0; b < kOperands; ++b) {
                    const QRectF cell = cells.Cell(a, b);
                    ASSERT_TRUE(area.contains(cell)) << a << ", " << b;
                    // Below the number written in the cell.
                    const QPoint at(cell.center().x(), cell.bottom() - cell.height() / 6);
                    EXPECT_EQ(image.pixelColor(at), FactStateColour(child.states[cells.kind][a][b]))
                        << size.width() << " × " << size.height() << ": " << cells.kind << " " << a
                        << ", " << b;
                }
        // On the class's page a fact both children know is as green as a fact a child knows.
        const QRectF known = ClassPageGrids(area, {child, other}).front().Cell(7, 3);
        EXPECT_EQ(classImage.pixelColor(known.center().x(), known.bottom() - known.height() / 6),
                  FactStateColour(FactState::kKnown));
    }
}

TEST(AppRecordsPainterTest, TheTeachersPdfHoldsItsWordsAsTextAndSaysWhatItCouldNotDo) {
    QTemporaryDir dir;
    const QString sheet = dir.filePath("はなこ.csv"), pdf = dir.filePath("きろく.pdf");
    std::ofstream(sheet.toStdString(), std::ios::binary)
        << "\xEF\xBB\xBF日時,計算の種類,レベル,ステージ,問題,答え,入力した数字,まちがい,秒,結果,"
           "問題ファイル\r\n2026-12-01 17:03:12,九九の計算,かんたん,1,\"7 × 3 =\",21,\"21\",0,"
           "4.2,正解,\"\"\r\n";
    std::FILE* err = std::tmpfile();
    ASSERT_NE(err, nullptr);
    EXPECT_EQ(WriteTeacherReport(pdf, {sheet, dir.filePath("gone")}, 10, err), 0);
    EXPECT_EQ(WriteTeacherReport(dir.filePath("none/r.pdf"), {sheet}, 10, err), 1);
    std::rewind(err);
    char said[4096] = {};
    said[std::fread(said, 1, sizeof said - 1, err)] = 0;
    std::fclose(err);
    EXPECT_TRUE(QString(said).contains(dir.filePath("gone"))) << said;
    EXPECT_TRUE(QString(said).contains(dir.filePath("none/r.pdf"))) << said;
    if (QStandardPaths::findExecutable("pdftotext").isEmpty()) GTEST_SKIP() << "no pdftotext";
    QProcess text;
    text.start("pdftotext", {pdf, "-"});
    ASSERT_TRUE(text.waitForFinished(-1));
    const QString words = QString::fromUtf8(text.readAllStandardOutput());
    for (const char* expected : {"クラスのまとめ（1人）", "九九", "はなこ", "7のだん"})
        EXPECT_TRUE(words.contains(expected)) << expected << "\n" << words.toStdString();
}

}  // namespace
