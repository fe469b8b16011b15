#include "app/menu.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <vector>

#include "app/command_ids.h"
#include "game/fizmo_view.h"

namespace {

constexpr unsigned kSeparator = 0;

struct Item {
    const char* text;
    unsigned id;
    bool checked;
    std::vector<Item> submenu = {};
};

const std::vector<Item>& TableSubmenu() {
    static const std::vector<Item> items = {{"ぜんぶ", ID_TABLE_ALL, true},
                                            {"1のだん", ID_TABLE_ALL + 1, false},
                                            {"2のだん", ID_TABLE_ALL + 2, false},
                                            {"3のだん", ID_TABLE_ALL + 3, false},
                                            {"4のだん", ID_TABLE_ALL + 4, false},
                                            {"5のだん", ID_TABLE_ALL + 5, false},
                                            {"6のだん", ID_TABLE_ALL + 6, false},
                                            {"7のだん", ID_TABLE_ALL + 7, false},
                                            {"8のだん", ID_TABLE_ALL + 8, false},
                                            {"9のだん", ID_TABLE_ALL + 9, false},
                                            {"", kSeparator, false},
                                            {"あがり", ID_ORDER_UP, true},
                                            {"さがり", ID_ORDER_DOWN, false},
                                            {"バラ", ID_ORDER_SHUFFLE, false}};
    return items;
}

const std::vector<Item>& CarrySubmenu() {
    static const std::vector<Item> items = {{"ぜんぶ", ID_CARRY_ALL, true},
                                            {"なし", ID_CARRY_NONE, false},
                                            {"だけ", ID_CARRY_ONLY, false}};
    return items;
}

struct BarEntry {
    const char* title;
    unsigned id;              // for a plain menu-bar item
    std::vector<Item> items;  // empty for a plain menu-bar item
};

const std::vector<BarEntry>& MenuTable() {
    static const std::vector<BarEntry> table = {
        {"ﾌｧｲﾙ(&F)",
         0,
         {{"", kSeparator, false},
          {"問題ファイルの変更", ID_CHANGE_PROBLEM_FILE, false},
          {"なまえ…", ID_CHILD_NAME, false},
          {"きろく…", ID_RECORDS, false},
          {"ｱﾌﾟﾘｹｰｼｮﾝの終了(&X)", ID_APP_EXIT, false}}},
        {"計算の種類",
         0,
         {{"九九の計算", ID_MODE_TIMES_TABLE, true},
          {"一ケタのたしざん", ID_MODE_ADDITION, false},
          {"ひきざん", ID_MODE_SUBTRACTION, false},
          {"わりざん", ID_MODE_DIVISION, false},
          {"文章題", ID_MODE_WORD_PROBLEMS, false},
          {"よみあげ", ID_READ_ALOUD, false},
          {"", kSeparator, false},
          {"九九の段", 0, false, TableSubmenu()},
          {"くりあがり・くりさがり", 0, false, CarrySubmenu()},
          {"にがてを多めに", ID_PRACTICE_WEAK, false}}},
        {"レベル",
         0,
         {{"かんたん", ID_LEVEL_EASY, true},
          {"ふつう", ID_LEVEL_NORMAL, false},
          {"むずかしい", ID_LEVEL_HARD, false}}},
        {" ", ID_DECORATION, {}},
        {"＊＊＊＊＊＊＊＊＊＊＊＊＊＊＊＊＊＊＊", ID_DECORATION, {}},
        {" ", ID_DECORATION, {}},
        {"スタート・ストップ", 0, {{"スタート", ID_START, false}, {"ストップ", ID_STOP, false}}},
        {"ﾍﾙﾌﾟ(&H)", 0, {{"ﾊﾞｰｼﾞｮﾝ情報(Fizmo) (&A)...", ID_APP_ABOUT, false}}},
    };
    return table;
}

QAction* AddCommand(QWidget* owner, QAction* action, unsigned id, const CommandHandler& onCommand) {
    action->setData(id);
    QObject::connect(action, &QAction::triggered, owner, [onCommand, id] { onCommand(id); });
    return action;
}

void FillPopup(QMenu* menu, const std::vector<Item>& items, const CommandHandler& onCommand,
               const CommandUiHandler& onUpdateUi);

QMenu* AddPopup(QMenuBar* bar, const BarEntry& entry, const CommandHandler& onCommand,
                const CommandUiHandler& onUpdateUi) {
    QMenu* menu = bar->addMenu(QString::fromUtf8(entry.title));
    FillPopup(menu, entry.items, onCommand, onUpdateUi);
    return menu;
}

void FillPopup(QMenu* menu, const std::vector<Item>& items, const CommandHandler& onCommand,
               const CommandUiHandler& onUpdateUi) {
    menu->setSeparatorsCollapsible(false);  // the file menu starts with a separator
    menu->setToolTipsVisible(true);         // a greyed item says why
    for (const Item& item : items) {
        if (!item.submenu.empty()) {
            FillPopup(menu->addMenu(QString::fromUtf8(item.text)), item.submenu, onCommand,
                      onUpdateUi);
            continue;
        }
        if (item.id == kSeparator) {
            menu->addSeparator();
            continue;
        }
        QAction* action =
            AddCommand(menu, menu->addAction(QString::fromUtf8(item.text)), item.id, onCommand);
        ActionCmdUI(action).SetCheck(item.checked);
    }
    QObject::connect(menu, &QMenu::aboutToShow, menu, [menu, onUpdateUi] {
        for (QAction* action : menu->actions()) {
            if (action->isSeparator() || action->menu()) continue;
            ActionCmdUI ui(action);
            onUpdateUi(CommandIdOf(action), &ui);
        }
    });
}

}  // namespace

void ActionCmdUI::SetCheck(int check) {
    action_->setCheckable(check != 0);
    action_->setChecked(check != 0);
}

void BuildMainMenu(QMenuBar* bar, const CommandHandler& onCommand,
                   const CommandUiHandler& onUpdateUi) {
    for (const BarEntry& entry : MenuTable()) {
        if (entry.items.empty())
            AddCommand(bar, bar->addAction(QString::fromUtf8(entry.title)), entry.id, onCommand);
        else
            AddPopup(bar, entry, onCommand, onUpdateUi);
    }
}

QAction* FindCommand(const QMenuBar* bar, unsigned id) {
    for (QAction* action : bar->findChildren<QAction*>())
        if (!action->isSeparator() && !action->menu() && CommandIdOf(action) == id) return action;
    return nullptr;
}

unsigned CommandIdOf(const QAction* action) {
    return action->isSeparator() ? kSeparator : action->data().toUInt();
}

namespace {

void DescribeItems(QMenu* menu, QString* out) {
    emit menu->aboutToShow();  // the check marks as the popup would show them
    for (QAction* item : menu->actions()) {
        if (item->isSeparator()) {
            *out += "item\t-\n";
        } else if (item->menu()) {
            *out += "submenu\t" + item->text() + "\n";
            DescribeItems(item->menu(), out);
            *out += "end of submenu\n";
        } else {
            *out += QString("item\t%1\t%2%3%4\n")
                        .arg(item->text())
                        .arg(CommandIdOf(item))
                        .arg(item->isChecked() ? "\tchecked" : "")
                        .arg(item->isEnabled() ? "" : "\tgreyed: " + item->toolTip());
        }
    }
}

}  // namespace

QString DescribeMenuBar(const QMenuBar* bar) {
    QString out;
    for (QAction* entry : bar->actions()) {
        const QPoint centre = bar->mapToGlobal(bar->actionGeometry(entry).center());
        const QString where = QString("at %1 %2").arg(centre.x()).arg(centre.y());
        if (!entry->menu()) {
            out += QString("plain\t%1\t%2\t%3\n")
                       .arg(entry->text())
                       .arg(CommandIdOf(entry))
                       .arg(where);
            continue;
        }
        out += QString("menu\t%1\t%2\n").arg(entry->text(), where);
        DescribeItems(entry->menu(), &out);
    }
    return out;
}
