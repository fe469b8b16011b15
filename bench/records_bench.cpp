// Cost of reading a child's records back, of opening the きろく window on them and of the
// teacher's PDF; and of a frame while the writer's disk stalls, next to one with no records.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QSettings>
#include <QTemporaryDir>
#include <array>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <future>
#include <optional>
#include <random>
#include <thread>

#include "app/installation_id.h"
#include "app/practice_keeper.h"
#include "app/records_keeper.h"
#include "app/records_window.h"
#include "bench/bench_window.h"
#include "game/fizmo_view.h"
#include "records/child_folders.h"
#include "records/record_reader.h"
#include "records/record_writer.h"
#include "records/records_painter.h"
#include "records/teacher_report.h"

namespace {

// A child's sheet as the game writes it: about 100 questions a day, from 2024-01-01 on.
void WriteRows(const QString& folder, int count, unsigned seed) {
    std::mt19937 random(seed);
    std::tm start{};
    start.tm_year = 124, start.tm_mday = 1, start.tm_hour = 17, start.tm_isdst = -1;
    const std::time_t first = std::mktime(&start);
    std::string text = "\xEF\xBB\xBF" + RecordHeader() + "\r\n";
    for (int i = 0; i < count; ++i) {
        QuestionResult r;
        r.when = first + (i / 100) * 86400 + (i % 100) * 9;
        const bool times = random() % 3 != 0;
        r.quizMode = times ? kQuizTimesTable : kQuizAddition;
        r.speedLow = std::array{5, 10, 30}[random() % 3];
        r.stage = 1 + static_cast<int>(random() % 6);
        const int a = random() % 10, b = random() % 10, roll = random() % 20;
        r.answer = std::to_string(times ? a * b : a + b);
        r.end = roll < 17 ? QuestionEnd::kAnswered  // and 1 in 20 each of the others
                          : std::array{QuestionEnd::kGameOver, QuestionEnd::kSkipped,
                                       QuestionEnd::kStopped}[roll - 17];
        r.wrongHits = random() % 4 == 0 ? 1 + static_cast<int>(random() % 2) : 0;
        r.entered =
            std::string(r.wrongHits, '9') + (r.end == QuestionEnd::kAnswered ? r.answer : "");
        r.seconds = 1 + (random() % 140) / 10.0;
        r.encoding = TextEncoding::Utf8;
        r.question = std::to_string(a) + (times ? " × " : " ＋ ") + std::to_string(b) + " =";
        text += RecordRowText(r) + "\r\n";
    }
    QDir().mkpath(folder);
    QFile file(folder + "/" + ComputerFileName("bench"));
    if (!file.open(QIODevice::WriteOnly) || file.write(text.c_str()) < 0) std::abort();
}

// Made once per run, in the system's temp folder.
struct Records {
    QTemporaryDir dir;
    QString child = dir.filePath("one/" + ChildFolderName("たろう"));
    QString classDir = dir.filePath("class");
    Records() {
        WriteRows(child, 100'000, 1);
        for (int k = 0; k < 30; ++k)
            WriteRows(classDir + "/" + ChildFolderName("こども" + QString::number(k)), 10'000,
                      k + 2);
    }
    static const Records& Get() {
        static const Records records;
        return records;
    }
};

// 100,000 rows, about 3 years of daily play, read alone and then summed up. Goal: well inside
// the window's 200 ms below.
void BM_RecordsRead(benchmark::State& state, bool summarize) {
    const QString file = Records::Get().child + "/" + ComputerFileName("bench");
    for (auto _ : state) {
        std::vector<RecordRow> rows;
        SkippedRecords skipped;
        ReadRecordFile(file, &rows, &skipped);
        state.counters["rows_read"] = static_cast<double>(rows.size());  // none skipped
        if (summarize)
            benchmark::DoNotOptimize(
                SummarizeChild("たろう", std::move(rows), kDefaultFluentSeconds, skipped));
    }
}
BENCHMARK_CAPTURE(BM_RecordsRead, alone, false)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_RecordsRead, summarized, true)->Unit(benchmark::kMillisecond)->UseRealTime();

// Opening the きろく window on 100,000 rows, as its Reload and paint do it. Goal: < 200 ms.
void BM_RecordsWindowOpen(benchmark::State& state) {
    NeedGuiApplication();
    const QString folder = Records::Get().child;
    QImage image(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)),
                 QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        std::vector<RecordRow> rows;
        SkippedRecords skipped;
        ReadChildFolder(folder, &rows, &skipped);
        const ChildSummary summary =
            SummarizeChild("たろう", std::move(rows), kDefaultFluentSeconds, skipped);
        image.fill(Qt::white);
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        PaintChildPage(painter, QRectF(image.rect()).adjusted(8, 8, -8, -8), summary,
                       kDefaultFluentSeconds);
    }
}
BENCHMARK(BM_RecordsWindowOpen)
    ->Args({1366, 700})
    ->Args({1920, 1000})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// What the game's thread spends when the open きろく window reads 100,000 rows again, as it
// does after each question: the reading itself is off that thread. Goal: well under a frame.
void BM_RecordsWindowReloadOnGameThread(benchmark::State& state) {
    NeedGuiApplication();
    CommandLine commandLine;
    commandLine.resultsFile =
        (Records::Get().child + "/" + ComputerFileName("bench")).toStdString();
    RecordsKeeper keeper(commandLine, [](const std::string&) {});
    RecordsWindow window(&keeper, nullptr);
    for (auto _ : state) {
        window.ShowChild();
        state.PauseTiming();
        while (window.Reading()) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        state.ResumeTiming();
    }
    state.counters["rows_shown"] = static_cast<double>(window.Summary().rows);
}
BENCHMARK(BM_RecordsWindowReloadOnGameThread)->Iterations(20)->Unit(benchmark::kMillisecond);

// The teacher's PDF of 30 children × 10,000 rows. Goal: < 3 s.
void BM_RecordsTeacherPdf(benchmark::State& state) {
    NeedGuiApplication();
    const Records& records = Records::Get();
    const QString pdf = records.dir.filePath("class.pdf");
    for (auto _ : state)
        if (WriteTeacherReport(pdf, {records.classDir}, kDefaultFluentSeconds, stderr) != 0)
            state.SkipWithError("no PDF");
    state.counters["pdf_kB"] = QFile(pdf).size() / 1024.0;
}
BENCHMARK(BM_RecordsTeacherPdf)->Iterations(2)->Unit(benchmark::kMillisecond)->UseRealTime();

// A FIFO at `path` filled to its last byte, so a writer blocks in write() as on a stalled
// network share; returns its read end, read by nobody yet.
int StalledPipe(const std::string& path) {
    if (mkfifo(path.c_str(), 0600) != 0) std::abort();
    const int readFd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK);
    const int fill = ::open(path.c_str(), O_WRONLY | O_NONBLOCK);
    const std::string block(1 << 16, 'x');  // above PIPE_BUF, so a write fills what is left
    while (::write(fill, block.data(), block.size()) > 0) {
    }
    ::close(fill);
    return readFd;
}

// One frame of play (tick and paint) ending a question, its row to a writer whose disk
// stalls or to no records. Goal: the two alike; the game's thread never waits.
void BM_RecordsFrame(benchmark::State& state, bool stalled) {
    NeedGuiApplication();
    QTemporaryDir dir;
    const std::string path = dir.filePath("rows.csv").toStdString();
    std::promise<void> release;
    std::atomic<bool> timedOut = false;
    std::jthread reader;  // declared before the writer: it reads on until the writer's close
    std::optional<RecordWriter> writer;
    if (stalled) {
        reader = std::jthread([&timedOut, fd = StalledPipe(path), done = release.get_future()] {
            timedOut = done.wait_for(std::chrono::seconds(2)) == std::future_status::timeout;
            fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK);
            char buffer[1 << 16];
            while (::read(fd, buffer, sizeof buffer) > 0) {
            }
            ::close(fd);
        });
        writer.emplace(path, [](const std::string&) {});
    }
    BenchWindow window(1280, 1024);
    CFizmoView view(&window);
    view.OnSize(0, 1280, 1024);
    view.OnInitialUpdate();
    if (!view.m_pShipBitmap->HasImage()) state.SkipWithError("the pictures are not built in");
    view.m_pQuestionLog = stalled ? &*writer : nullptr;
    view.m_nShipX = 1280 - 300;  // clear of the tiles' paths in the frame
    view.BeginQuestionRecord();
    for (auto _ : state) {
        // The tiles put back where they stood, so every frame is the same mid-stage frame.
        for (int k = 0; k < kTiles; ++k) view.m_nTargetX[k] = (k * 97) % (1280 - 400);
        view.OnTimer(kTimerId);
        view.OnPaint();
        view.EndQuestionRecord(QuestionEnd::kAnswered);
        view.BeginQuestionRecord();
    }
    if (stalled) state.counters["stall_held"] = !timedOut;  // all frames ran while it was stuck
    release.set_value();  // before the writer's close, which waits for its rows to be read
}
BENCHMARK_CAPTURE(BM_RecordsFrame, no_records, false)->Unit(benchmark::kMicrosecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_RecordsFrame, stalled_writer, true)
    ->Unit(benchmark::kMicrosecond)
    ->UseRealTime();

// A share that stalls: until this time, each sync of a file in this folder waits, as on a
// network share whose server hangs. Released early once a bench has its figure.
std::atomic<std::chrono::steady_clock::time_point> syncStallUntil{};
char stalledFolder[4096];

bool OnStalledShare(int fd) {
    char path[4096];
    const std::string link = "/proc/self/fd/" + std::to_string(fd);
    const ssize_t length = readlink(link.c_str(), path, sizeof path - 1);
    return length > 0 && std::string_view(path, length).starts_with(stalledFolder);
}

// A records folder of one child's rows with にがて chosen, on a share that stalls for 2 s
// from when its first row is handed over; settings of the bench's own.
struct StalledRecords {
    QTemporaryDir dir;
    CommandLine commandLine;
    StalledRecords() {
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, dir.filePath("config"));
        commandLine.recordsDir = dir.filePath("records").toStdString();
        std::snprintf(stalledFolder, sizeof stalledFolder, "%s/", commandLine.recordsDir.c_str());
        commandLine.childName = "たろう";
        commandLine.practiceWeak = true;
        QDir().mkpath(dir.filePath("records"));
        WriteRows(dir.filePath("records/" + ChildFolderName("たろう")), 10'000, 7);
    }
    static void Stall() {
        syncStallUntil = std::chrono::steady_clock::now() + std::chrono::seconds(2);
    }
    static void Release() { syncStallUntil = std::chrono::steady_clock::time_point(); }
};

QuestionResult ARow() {
    QuestionResult row;
    row.quizMode = kQuizTimesTable;
    row.encoding = TextEncoding::Utf8;
    row.question = "6 × 7 =";
    row.answer = "42";
    return row;
}

// What the game's thread spends on Start with にがて, the child's last row waiting on a
// share that stalls 2 s: the states are read off that thread. Goal: < 5 ms.
void BM_RecordsStartWeakOnStalledShare(benchmark::State& state) {
    NeedGuiApplication();
    for (auto _ : state) {
        StalledRecords records;
        RecordsKeeper keeper(records.commandLine, [](const std::string&) {});
        PracticeKeeper practice(records.commandLine, &keeper);
        StalledRecords::Stall();
        keeper.Record(ARow());
        const auto start = std::chrono::steady_clock::now();
        practice.Begin();
        const std::chrono::duration<double> held = std::chrono::steady_clock::now() - start;
        state.SetIterationTime(held.count());
        StalledRecords::Release();
    }
}
BENCHMARK(BM_RecordsStartWeakOnStalledShare)
    ->Iterations(3)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

// What the game's thread spends on a name change, the old child's last row waiting on a
// share that stalls 2 s: their writer is closed off that thread. Goal: < 5 ms.
void BM_RecordsNameChangeOnStalledShare(benchmark::State& state) {
    NeedGuiApplication();
    for (auto _ : state) {
        StalledRecords records;
        RecordsKeeper keeper(records.commandLine, [](const std::string&) {});
        StalledRecords::Stall();
        keeper.Record(ARow());
        const auto start = std::chrono::steady_clock::now();
        keeper.SetChild("じろう");
        const std::chrono::duration<double> held = std::chrono::steady_clock::now() - start;
        state.SetIterationTime(held.count());
        StalledRecords::Release();
    }
}
BENCHMARK(BM_RecordsNameChangeOnStalledShare)
    ->Iterations(3)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

}  // namespace

// The program's files are synced through here, as the bench is linked with it: on the
// stalled share, a sync does not return.
extern "C" int fdatasync(int fd) {
    while (std::chrono::steady_clock::now() < syncStallUntil.load() && OnStalledShare(fd))
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    return static_cast<int>(syscall(SYS_fdatasync, fd));
}
