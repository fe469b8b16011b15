#pragma once
// よみあげ: whether questions are read aloud, remembered for the next start, and the voice
// that reads them. Texts are made ahead on the speech queue's thread, so that a question is
// read from memory the moment the game says it appeared; the game never waits for it.

#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>
#include <memory>
#include <string>
#include <vector>

#include "app/command_line.h"
#include "app/speech_player.h"
#include "game/question_speech.h"
#include "speech/speech_setup.h"

class CFizmoView;
class CmdUI;
class QAction;
class SpeechQueue;

class SpeechKeeper final : public QObject, public QuestionSpeech {
    Q_OBJECT

public:
    explicit SpeechKeeper(const CommandLine& commandLine);
    ~SpeechKeeper() override;

    // The menu's よみあげ item: greyed, with a tip saying what is missing, when it cannot be.
    void BindAction(QAction* action);
    void Attach(CFizmoView* view);
    bool OnCommand(unsigned id);
    bool OnUpdateCommandUI(unsigned id, CmdUI* ui);
    // After any command: a new kind of question or problem file is made ready ahead.
    void Prepare();
    // The voice and its licence's attribution, for the About box; empty with no voice.
    QString Credit() const;

    void Say(const SpokenQuestion& question) override;
    void Hush() override;

private:
    bool Active() const;
    void Apply();
    void PrepareStartFile();
    void ShowState();
    void LoadProblems(const std::string& file);
    void WantFrom(const std::string& text, int quizMode);
    void OnReady(const std::string& text);
    void PlayNext();
    void OnTrouble(const QString& line, bool broken);

    bool on_ = false;
    SpeechSetup setup_;
    std::unique_ptr<SpeechQueue> queue_;
    SpeechPlayer player_;
    CFizmoView* view_ = nullptr;
    QPointer<QAction> action_;
    std::string startFile_;  // the problem file named at launch
    // The parts of the question being read, and the next to play once the one before ends.
    std::vector<std::string> reading_;
    std::size_t next_ = 0;
    QTimer partEnd_;
    // The word problems ahead, from the game's problem file; read once per file.
    std::string problemFile_;
    std::vector<std::string> problems_;
    std::size_t cursor_ = 0;
    int preparedMode_ = 0;
    std::string preparedFile_;
};
