#include "app/speech_keeper.h"

#include <QAction>
#include <QSettings>
#include <cstdio>

#include "app/command_ids.h"
#include "app/records_keeper.h"
#include "game/fact_kind.h"
#include "game/fizmo_view.h"
#include "game/problem_encoding.h"
#include "game/problem_reader.h"
#include "platform/files.h"
#include "platform/sjis.h"
#include "platform/sound_trace.h"
#include "speech/arithmetic_reading.h"
#include "speech/problem_reading.h"
#include "speech/speech_queue.h"

namespace {

const QString kOnKey = QStringLiteral("speech/readAloud");
const QString kVoiceKey = QStringLiteral("speech/voice");
// Word problems made ready ahead of the one on the screen.
constexpr std::size_t kProblemsAhead = 2;
// A file this long is read ahead only as far as this; beyond it, problems are made as they come.
constexpr std::size_t kProblemsListed = 5000;
// The pause between two sentences, and how often the end of one is looked for.
constexpr int kSentencePauseMs = 250;
constexpr int kPollMs = 10;

QString MissingTip(SpeechMissing missing) {
    switch (missing) {
        case SpeechMissing::kCommand:
            return QStringLiteral("よみあげには Open JTalk (open-jtalk) が要ります");
        case SpeechMissing::kDictionary:
            return QStringLiteral(
                "よみあげには Open JTalk の辞書 (open-jtalk-mecab-naist-jdic) が要ります");
        case SpeechMissing::kVoice:
            return QStringLiteral("よみあげの声 (*.htsvoice) が見つかりません");
        case SpeechMissing::kDamagedVoice:
            return QStringLiteral("よみあげの声のファイルが読めません");
        case SpeechMissing::kNothing:
            break;
    }
    return QStringLiteral("問題を声に出して読みます (R でもう一度)");
}

// What Open JTalk is to read: UTF-8, with no control characters.
std::string SpokenText(const SpokenQuestion& question) {
    if (const FactKind* kind = KindOf(question.quizMode))
        return ArithmeticReading(kind->sign, question.operands.a, question.operands.b);
    return SpeakableProblem(question.encoding == TextEncoding::ShiftJis
                                ? DecodeShiftJis(question.text).toStdString()
                                : question.text);
}

// What is read one after another for a question: a word problem sentence by sentence, so
// that the first is heard as soon as it alone is made.
std::vector<std::string> PartsOf(const std::string& text, int quizMode) {
    if (KindOf(quizMode)) return {text};
    return Sentences(text);
}

// Every fact of the kind, to be made while the child plays.
std::vector<std::string> AllFacts(int quizMode) {
    std::vector<std::string> texts;
    const FactKind* kind = KindOf(quizMode);
    for (int row = 0; kind && row < kOperands; ++row)
        for (int column = 0; column < kOperands; ++column) {
            if (!InGrid(*kind, {row, column})) continue;
            const Operands fact = kind->factAt({row, column});
            texts.push_back(ArithmeticReading(kind->sign, fact.a, fact.b));
        }
    return texts;
}

}  // namespace

SpeechKeeper::SpeechKeeper(const CommandLine& commandLine) {
    partEnd_.setInterval(kPollMs);
    connect(&partEnd_, &QTimer::timeout, this, [this] {
        if (player_.Playing()) return;
        partEnd_.stop();
        PlayNext();
    });
    auto settings = FizmoSettings();
    if (commandLine.readAloud) settings->setValue(kOnKey, true);
    if (!commandLine.voiceFile.empty())
        settings->setValue(kVoiceKey, QString::fromLocal8Bit(commandLine.voiceFile.c_str()));
    on_ = settings->value(kOnKey, false).toBool();
    const std::string voice = settings->value(kVoiceKey).toString().toLocal8Bit().toStdString();
    setup_ = FindSpeechSetup(voice, DefaultVoiceFolders());
    startFile_ = commandLine.wordProblemFile;
    if (commandLine.readAloud && !setup_.Ready())
        std::fprintf(stderr, "fizmo: %s\n", MissingText(setup_).c_str());
    Apply();
}

SpeechKeeper::~SpeechKeeper() = default;

bool SpeechKeeper::Active() const {
    return on_ && setup_.Ready();
}

void SpeechKeeper::Apply() {
    if (!Active()) {
        Hush();
        queue_.reset();
        return;
    }
    if (queue_) return;
    const QPointer<SpeechKeeper> self(this);
    // Tests stop a hanging synthesiser sooner.
    const int timeoutMs = qEnvironmentVariableIntValue("FIZMO_SPEECH_TIMEOUT_MS");
    queue_ = std::make_unique<SpeechQueue>(
        setup_,
        [self](const std::string& text) {
            QMetaObject::invokeMethod(
                self, [self, text] { self->OnReady(text); }, Qt::QueuedConnection);
        },
        [self](const std::string& line, bool broken) {
            std::fprintf(stderr, "fizmo: %s\n", line.c_str());
            const QString shown = QString::fromStdString(line);
            QMetaObject::invokeMethod(
                self, [self, shown, broken] { self->OnTrouble(shown, broken); },
                Qt::QueuedConnection);
        },
        timeoutMs > 0 ? timeoutMs : SpeechQueue::kTimeoutMs, DefaultSpeechCacheFolder());
    preparedMode_ = 0;
    if (!view_) PrepareStartFile();
    Prepare();
}

// Before the window is there: the first problems of the file named at launch are made while it
// comes up, so that the first one is heard as soon as it appears.
void SpeechKeeper::PrepareStartFile() {
    if (startFile_.empty()) return;
    LoadProblems(startFile_);
    std::vector<std::string> wanted;
    for (std::size_t i = 0; i < problems_.size() && i <= kProblemsAhead; ++i)
        for (std::string& part : PartsOf(problems_[i], kQuizWordProblems))
            wanted.push_back(std::move(part));
    queue_->Want(std::move(wanted));
}

void SpeechKeeper::BindAction(QAction* action) {
    action_ = action;
    ShowState();
}

void SpeechKeeper::ShowState() {
    if (!action_) return;
    action_->setEnabled(setup_.Ready());
    action_->setToolTip(MissingTip(setup_.missing));
    action_->setStatusTip(action_->toolTip());
}

void SpeechKeeper::Attach(CFizmoView* view) {
    view_ = view;
    view_->m_pSpeech = this;
    Prepare();
}

bool SpeechKeeper::OnCommand(unsigned id) {
    if (id != ID_READ_ALOUD) return false;
    if (!setup_.Ready()) return true;
    on_ = !on_;
    FizmoSettings()->setValue(kOnKey, on_);
    Apply();
    return true;
}

bool SpeechKeeper::OnUpdateCommandUI(unsigned id, CmdUI* ui) {
    if (id != ID_READ_ALOUD) return false;
    ui->SetCheck(Active());
    return true;
}

void SpeechKeeper::OnTrouble(const QString&, bool broken) {
    if (!broken) return;
    setup_.missing = SpeechMissing::kDamagedVoice;
    ShowState();
    Apply();
}

void SpeechKeeper::LoadProblems(const std::string& file) {
    if (file == problemFile_) return;
    problemFile_ = file;
    problems_.clear();
    cursor_ = 0;
    std::FILE* stream = OpenFileForReading(file);
    if (!stream) return;
    const TextEncoding encoding = DetectProblemEncoding(stream);
    problem_reader::ProblemLines lines = {};
    int answer = 0;
    while (problems_.size() < kProblemsListed &&
           problem_reader::ReadProblem(stream, lines, &answer)) {
        SpokenQuestion question;
        question.quizMode = kQuizWordProblems;
        question.text = problem_reader::JoinedLines(lines);
        question.encoding = encoding;
        problems_.push_back(SpokenText(question));
    }
    std::fclose(stream);
}

void SpeechKeeper::Prepare() {
    if (!queue_ || !view_) return;
    const int mode = view_->m_nQuizMode;
    const std::string file = mode == kQuizWordProblems ? view_->m_strProblemFile : "";
    if (mode == preparedMode_ && file == preparedFile_) return;
    preparedMode_ = mode;
    preparedFile_ = file;
    if (mode == kQuizWordProblems) LoadProblems(file);
    if (mode == kQuizWordProblems) {
        cursor_ = 0;
        WantFrom(problems_.empty() ? std::string() : problems_.front(), mode);
    } else {
        queue_->Want(AllFacts(mode));
    }
}

// The text first, then what will follow it.
void SpeechKeeper::WantFrom(const std::string& text, int quizMode) {
    std::vector<std::string> wanted = PartsOf(text, quizMode);
    if (KindOf(quizMode)) {
        for (std::string& fact : AllFacts(quizMode)) wanted.push_back(std::move(fact));
        queue_->Want(std::move(wanted));
        return;
    }
    std::size_t at = problems_.size();
    for (std::size_t i = 0; i < problems_.size() && at == problems_.size(); ++i) {
        const std::size_t index = (cursor_ + i) % problems_.size();
        if (problems_[index] == text) at = index;
    }
    if (at < problems_.size()) {
        cursor_ = at;
        for (std::size_t i = 1; i <= kProblemsAhead && at + i < problems_.size(); ++i)
            for (std::string& part : PartsOf(problems_[at + i], quizMode))
                wanted.push_back(std::move(part));
    }
    queue_->Want(std::move(wanted));
}

void SpeechKeeper::Say(const SpokenQuestion& question) {
    if (!queue_) return;
    TraceSound("say", "question");
    if (question.quizMode == kQuizWordProblems) LoadProblems(question.problemFile);
    const std::string text = SpokenText(question);
    WantFrom(text, question.quizMode);
    Hush();
    reading_ = PartsOf(text, question.quizMode);
    PlayNext();
}

// The next part if it is ready; otherwise OnReady plays it when it is.
void SpeechKeeper::PlayNext() {
    if (!queue_) return;
    // A sentence Open JTalk could not read is passed over.
    while (next_ < reading_.size() && queue_->GivenUp(reading_[next_])) ++next_;
    if (next_ >= reading_.size()) return;
    const auto wave = queue_->Find(reading_[next_]);
    if (!wave) return;
    ++next_;
    const bool more = next_ < reading_.size();
    TraceSound("from", wave->cached ? "cache" : "synthesis");
    player_.Play(*wave, more ? kSentencePauseMs : 0);
    if (more) partEnd_.start();
}

void SpeechKeeper::OnReady(const std::string& text) {
    if (next_ < reading_.size() && text == reading_[next_] && !player_.Playing()) PlayNext();
}

void SpeechKeeper::Hush() {
    reading_.clear();
    next_ = 0;
    partEnd_.stop();
    player_.Stop();
}

QString SpeechKeeper::Credit() const {
    if (setup_.voice.empty()) return {};
    const QString name = QString::fromLocal8Bit(setup_.voice.c_str()).section('/', -1);
    return QStringLiteral("よみあげの声: ") + name + "\n" +
           QString::fromStdString(VoiceAttribution(setup_.voice)).trimmed();
}
