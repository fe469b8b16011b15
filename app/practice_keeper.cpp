#include "app/practice_keeper.h"

#include <QSettings>

#include "app/command_ids.h"
#include "app/records_keeper.h"
#include "game/fizmo_view.h"

namespace {

const QString kTableKey = QStringLiteral("practice/table");
const QString kOrderKey = QStringLiteral("practice/order");
const QString kWeakKey = QStringLiteral("practice/weak");
const QString kCarryKey = QStringLiteral("practice/carry");

bool AnyAsked(const KindStates& states) {
    for (const auto& grid : states)
        for (const auto& row : grid)
            for (FactState state : row)
                if (state != FactState::kNotYet) return true;
    return false;
}

}  // namespace

PracticeKeeper::PracticeKeeper(const CommandLine& commandLine, RecordsKeeper* records)
    : records_(records) {
    reader_.setMaxThreadCount(1);
    auto settings = FizmoSettings();
    if (commandLine.table) settings->setValue(kTableKey, *commandLine.table);
    if (commandLine.order) settings->setValue(kOrderKey, static_cast<int>(*commandLine.order));
    if (commandLine.practiceWeak) settings->setValue(kWeakKey, true);
    if (commandLine.carry) settings->setValue(kCarryKey, static_cast<int>(*commandLine.carry));
    const int table = settings->value(kTableKey, 0).toInt();
    const int order = settings->value(kOrderKey, 0).toInt();
    const int carry = settings->value(kCarryKey, 0).toInt();
    settings_.table = table >= 0 && table <= kLastTable ? table : 0;
    settings_.order = order >= 0 && order <= 2 ? static_cast<TableOrder>(order) : TableOrder::kUp;
    settings_.carry =
        carry >= 0 && carry <= 2 ? static_cast<CarryChoice>(carry) : CarryChoice::kAll;
    settings_.weak = settings->value(kWeakKey, false).toBool();
}

void PracticeKeeper::Attach(CFizmoView* view) {
    view_ = view;
    states_ = {};  // a child of their own, maybe: theirs are read anew
    Apply();
}

void PracticeKeeper::Remember() const {
    auto settings = FizmoSettings();
    settings->setValue(kTableKey, settings_.table);
    settings->setValue(kOrderKey, static_cast<int>(settings_.order));
    settings->setValue(kWeakKey, settings_.weak);
    settings->setValue(kCarryKey, static_cast<int>(settings_.carry));
}

void PracticeKeeper::Apply() {
    chooser_ = PracticeChooser(settings_);
    if (settings_.weak) {
        TakeStates(states_);
        ReadStates();
    }
    if (view_) view_->m_pChooser = settings_.Plain() ? nullptr : this;
}

void PracticeKeeper::TakeStates(const KindStates& states) {
    states_ = states;
    chooser_.SetStates(states, AnyAsked(states));
}

// The child's states as their records stand, including the game just played. Until they
// are read, the game goes on with those read before.
void PracticeKeeper::ReadStates() {
    ++readsUnderWay_;
    reader_.start([this, read = records_->ChildReader()] {
        auto child = std::make_shared<ChildSummary>(read());
        QMetaObject::invokeMethod(
            &alive_,
            [this, child] {
                --readsUnderWay_;
                TakeStates(child->states);
            },
            Qt::QueuedConnection);
    });
}

void PracticeKeeper::Begin() {
    if (settings_.weak) ReadStates();
    chooser_.Begin();
}

Operands PracticeKeeper::Next(int quizMode, Random& random) {
    return chooser_.Next(quizMode, random);
}

void PracticeKeeper::Ended(int quizMode, Operands question, bool missed) {
    chooser_.Ended(quizMode, question, missed);
}

bool PracticeKeeper::OnCommand(unsigned id) {
    if (id >= ID_TABLE_ALL && id <= ID_TABLE_9)
        settings_.table = static_cast<int>(id - ID_TABLE_ALL);
    else if (id >= ID_ORDER_UP && id <= ID_ORDER_SHUFFLE)
        settings_.order = static_cast<TableOrder>(id - ID_ORDER_UP);
    else if (id == ID_PRACTICE_WEAK)
        settings_.weak = !settings_.weak;
    else if (id >= ID_CARRY_ALL && id <= ID_CARRY_ONLY)
        settings_.carry = static_cast<CarryChoice>(id - ID_CARRY_ALL);
    else
        return false;
    Remember();
    Apply();
    return true;
}

bool PracticeKeeper::OnUpdateCommandUI(unsigned id, CmdUI* ui) {
    if (id >= ID_TABLE_ALL && id <= ID_TABLE_9)
        ui->SetCheck(settings_.table == static_cast<int>(id - ID_TABLE_ALL));
    else if (id >= ID_ORDER_UP && id <= ID_ORDER_SHUFFLE)
        ui->SetCheck(settings_.order == static_cast<TableOrder>(id - ID_ORDER_UP));
    else if (id == ID_PRACTICE_WEAK)
        ui->SetCheck(settings_.weak);
    else if (id >= ID_CARRY_ALL && id <= ID_CARRY_ONLY)
        ui->SetCheck(settings_.carry == static_cast<CarryChoice>(id - ID_CARRY_ALL));
    else
        return false;
    return true;
}
