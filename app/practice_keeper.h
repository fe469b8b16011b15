#pragma once
// 計算の種類 → 九九の段, くりあがり・くりさがり and にがてを多めに: which practice the grown-up
// chose, remembered for the next start, and the facts' states it needs, read from the child's
// records as each game begins: off the game's thread, as a share may stall, the game taking
// them up as soon as they are read. The view asks it for questions only when the choice
// differs from the game's own draw, which then stays exactly as it always was.

#include <QObject>
#include <QThreadPool>

#include "app/command_line.h"
#include "game/practice.h"

class CFizmoView;
class CmdUI;
class RecordsKeeper;

class PracticeKeeper final : public QuestionChooser {
public:
    PracticeKeeper(const CommandLine& commandLine, RecordsKeeper* records);

    void Attach(CFizmoView* view);
    bool OnCommand(unsigned id);
    bool OnUpdateCommandUI(unsigned id, CmdUI* ui);
    const PracticeSettings& Settings() const { return settings_; }
    // Whether the child's states are being read.
    bool Reading() const { return readsUnderWay_ > 0; }

    void Begin() override;
    Operands Next(int quizMode, Random& random) override;
    void Ended(int quizMode, Operands question, bool missed) override;

private:
    void Apply();
    void Remember() const;
    void ReadStates();
    void TakeStates(const KindStates& states);

    PracticeSettings settings_;
    PracticeChooser chooser_;
    RecordsKeeper* records_;
    CFizmoView* view_ = nullptr;
    KindStates states_{};  // as last read
    int readsUnderWay_ = 0;
    QObject alive_;       // the states read come back to the game's thread while it is
    QThreadPool reader_;  // ended first: waits for a reading under way
};
