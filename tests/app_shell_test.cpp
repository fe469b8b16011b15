// The application shell on a real (offscreen) window: menu, check marks, accelerators,
// the new-document command and the About box.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <fstream>

#include "app/about_dialog.h"
#include "app/command_ids.h"
#include "app/fizmo_app.h"
#include "app/main_frame.h"
#include "app/menu.h"
#include "app/view_host.h"
#include "app_fixture.h"
#include "game/fizmo_view.h"
#include "platform/sound_device.h"
#include "sound/wave_sound.h"

namespace {

class ShellTest : public AppFolderTest {
protected:
    void SetUp() override {
        AppFolderTest::SetUp();
        app_ = std::make_unique<CFizmoApp>();
        ASSERT_TRUE(app_->InitInstance());
        // Only the game's own boxes: a second sound device in one test run may be refused.
        Host().SetMessageBoxHandler([this](const QString& text, const QString& caption, auto) {
            if (caption == "Fizmo") messages_.push_back(text);
            return 0;
        });
        ASSERT_TRUE(QTest::qWaitForWindowActive(Frame()));
        ASSERT_TRUE(QTest::qWaitFor([this] { return Host().InitialUpdates() == 1; }));
    }
    void TearDown() override {
        app_.reset();
        AppFolderTest::TearDown();
    }

    CMainFrame* Frame() { return app_->MainFrame(); }
    FizmoViewHost& Host() { return Frame()->Host(); }
    CFizmoView& View() { return Frame()->View(); }

    std::vector<std::pair<QString, unsigned>> ItemsOf(QMenu* menu) {
        std::vector<std::pair<QString, unsigned>> items;
        for (QAction* action : menu->actions())
            items.emplace_back(action->isSeparator() ? "-" : action->text(), CommandIdOf(action));
        return items;
    }
    QAction* FindItem(unsigned id) {
        for (QAction* entry : Frame()->menuBar()->actions())
            if (entry->menu())
                for (QAction* item : entry->menu()->actions())
                    if (CommandIdOf(item) == id) return item;
        return nullptr;
    }
    void OpenMenuOf(unsigned id) {
        for (QAction* entry : Frame()->menuBar()->actions())
            if (entry->menu() && entry->menu()->actions().contains(FindItem(id)))
                emit entry->menu()->aboutToShow();
    }

    std::unique_ptr<CFizmoApp> app_;
    std::vector<QString> messages_;
};

using Items = std::vector<std::pair<QString, unsigned>>;

TEST_F(ShellTest, MainWindowHasFixedCaptionScreenSizeAndTheViewAsItsWholeClient) {
    EXPECT_EQ(Frame()->windowTitle(), QString("フィズモ"));
    EXPECT_TRUE(Frame()->windowState() & Qt::WindowMaximized);
    EXPECT_EQ(Frame()->centralWidget(), &Host());
    EXPECT_EQ(Frame()->findChildren<QToolBar*>().size(), 0);
    EXPECT_EQ(View().m_nViewWidth, Host().width());
    EXPECT_EQ(View().m_nViewHeight, Host().height());
    EXPECT_TRUE(messages_.empty());
    QTest::keyClick(Frame(), Qt::Key_N, Qt::ControlModifier);
    EXPECT_EQ(Frame()->windowTitle(), QString("フィズモ"));
}

TEST_F(ShellTest, MenuHasItsTextsIdsAndOrder) {
    std::vector<QString> bar;
    for (QAction* entry : Frame()->menuBar()->actions()) bar.push_back(entry->text());
    EXPECT_EQ(bar, (std::vector<QString>{"ﾌｧｲﾙ(&F)", "計算の種類", "レベル", " ",
                                         "＊＊＊＊＊＊＊＊＊＊＊＊＊＊＊＊＊＊＊", " ",
                                         "スタート・ストップ", "ﾍﾙﾌﾟ(&H)"}));
    const auto menus = Frame()->menuBar()->actions();
    EXPECT_EQ(ItemsOf(menus[0]->menu()), (Items{{"-", 0},
                                                {"問題ファイルの変更", 32775},
                                                {"なまえ…", 32790},
                                                {"きろく…", 32791},
                                                {"ｱﾌﾟﾘｹｰｼｮﾝの終了(&X)", 57665}}));
    EXPECT_EQ(ItemsOf(menus[1]->menu()), (Items{{"九九の計算", 32772},
                                                {"一ケタのたしざん", 32773},
                                                {"ひきざん", 32780},
                                                {"わりざん", 32781},
                                                {"文章題", 32774},
                                                {"よみあげ", 32820},
                                                {"-", 0},
                                                {"九九の段", 0},
                                                {"くりあがり・くりさがり", 0},
                                                {"にがてを多めに", 32813}}));
    EXPECT_EQ(ItemsOf(menus[2]->menu()),
              (Items{{"かんたん", 32776}, {"ふつう", 32777}, {"むずかしい", 32778}}));
    for (int i : {3, 4, 5}) {
        EXPECT_EQ(menus[i]->menu(), nullptr);
        EXPECT_EQ(CommandIdOf(menus[i]), 65535u);
        EXPECT_TRUE(menus[i]->isEnabled());
    }
    EXPECT_EQ(ItemsOf(menus[6]->menu()), (Items{{"スタート", 32771}, {"ストップ", 32779}}));
    EXPECT_EQ(ItemsOf(menus[7]->menu()), (Items{{"ﾊﾞｰｼﾞｮﾝ情報(Fizmo) (&A)...", 57664}}));
}

TEST_F(ShellTest, CheckMarksStartOnTimesTableAndEasyThenFollowTheViewWhenAMenuOpens) {
    for (unsigned id = 32771; id <= 32779; ++id)
        EXPECT_EQ(FindItem(id)->isChecked(), id == 32772 || id == 32776) << id;

    FindItem(ID_MODE_WORD_PROBLEMS)->trigger();
    FindItem(ID_LEVEL_HARD)->trigger();
    EXPECT_EQ(View().m_nQuizMode, 3);
    EXPECT_EQ(View().m_nSpeedLow, 30);
    OpenMenuOf(ID_MODE_TIMES_TABLE);
    OpenMenuOf(ID_LEVEL_EASY);
    for (unsigned id = 32771; id <= 32779; ++id)
        EXPECT_EQ(FindItem(id)->isChecked(), id == 32774 || id == 32778) << id;
    FindItem(ID_MODE_DIVISION)->trigger();
    OpenMenuOf(ID_MODE_TIMES_TABLE);
    EXPECT_TRUE(FindItem(ID_MODE_DIVISION)->isChecked());
    EXPECT_FALSE(FindItem(ID_MODE_WORD_PROBLEMS)->isChecked());
}

TEST_F(ShellTest, DecorationItemsAndOpenSaveDoNothing) {
    const int speed = View().m_nScrollSpeed;
    for (QAction* entry : Frame()->menuBar()->actions())
        if (!entry->menu()) entry->trigger();
    QTest::keyClick(Frame(), Qt::Key_O, Qt::ControlModifier);
    QTest::keyClick(Frame(), Qt::Key_S, Qt::ControlModifier);
    EXPECT_TRUE(Frame()->isVisible());
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    EXPECT_EQ(View().m_nScrollSpeed, speed);
}

TEST_F(ShellTest, AcceleratorsSwallowTheirKeysWhilePlainZAndXReachTheGame) {
    CFizmoView& view = View();
    view.m_nScrollSpeed = 20;
    const std::pair<Qt::Key, Qt::KeyboardModifiers> swallowed[] = {
        {Qt::Key_Z, Qt::ControlModifier},      {Qt::Key_X, Qt::ControlModifier},
        {Qt::Key_C, Qt::ControlModifier},      {Qt::Key_V, Qt::ControlModifier},
        {Qt::Key_Backspace, Qt::AltModifier},  {Qt::Key_Delete, Qt::ShiftModifier},
        {Qt::Key_Insert, Qt::ControlModifier}, {Qt::Key_Insert, Qt::ShiftModifier},
        {Qt::Key_F6, Qt::NoModifier},          {Qt::Key_F6, Qt::ShiftModifier},
    };
    for (const auto& [key, modifiers] : swallowed) {
        QTest::keyClick(&Host(), key, modifiers);
        EXPECT_EQ(view.m_nScrollSpeed, 20) << key;
    }
    QTest::keyClick(&Host(), Qt::Key_Z);
    EXPECT_EQ(view.m_nScrollSpeed, 30);
    QTest::keyClick(&Host(), Qt::Key_X);
    QTest::keyClick(&Host(), Qt::Key_X);
    EXPECT_EQ(view.m_nScrollSpeed, 10);
}

TEST_F(ShellTest, NewDocumentRunsTheFirstUpdateAgainAndLeavesTheGameAlone) {
    Frame()->OnCommand(ID_START);
    CFizmoView& view = View();
    view.m_nScore = 40;
    view.m_nStage = 2;
    view.m_nShipX = 123;
    const QImage* backImage = &view.m_pBackBitmap->Image();

    QTest::keyClick(&Host(), Qt::Key_N, Qt::ControlModifier);
    EXPECT_EQ(Host().InitialUpdates(), 2);
    EXPECT_EQ(view.m_nScore, 40);
    EXPECT_EQ(view.m_nStage, 2);
    EXPECT_EQ(view.m_nShipX, 123);
    EXPECT_TRUE(Host().TimerRunning(kTimerId));
    EXPECT_EQ(&view.m_pBackBitmap->Image(), backImage);
    EXPECT_TRUE(messages_.empty());  // the problem file is not opened again
}

TEST_F(ShellTest, StartAndStopRunAndEndTheGamesTimer) {
    FindItem(ID_START)->trigger();
    EXPECT_TRUE(Host().TimerRunning(kTimerId));
    FindItem(ID_STOP)->trigger();
    EXPECT_FALSE(Host().TimerRunning(kTimerId));
}

TEST_F(ShellTest, ExitClosesTheWindowWithoutAsking) {
    FindItem(ID_APP_EXIT)->trigger();
    EXPECT_FALSE(Frame()->isVisible());
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

TEST(AppAboutDialogTest, ShowsCaptionVersionCreditsAndADefaultOk) {
    CAboutDlg dialog;
    EXPECT_EQ(dialog.windowTitle(), QString("ﾊﾞｰｼﾞｮﾝ情報(Zan)"));
    QStringList texts;
    for (QLabel* label : dialog.findChildren<QLabel*>())
        if (!label->text().isEmpty()) texts << label->text();
    EXPECT_TRUE(texts.contains("Fizmo Version 2.0"));
    EXPECT_EQ(texts.size(), 3);  // the version line and two credit lines
    const auto buttons = dialog.findChildren<QPushButton*>();
    ASSERT_EQ(buttons.size(), 1);
    EXPECT_EQ(buttons[0]->text(), QString("OK"));
    EXPECT_TRUE(buttons[0]->isDefault());
}

TEST(AppAboutDialogTest, EscapeEnterAndOkEachEndIt) {
    for (int way = 0; way < 3; ++way) {
        CAboutDlg dialog;
        QTimer::singleShot(0, &dialog, [&dialog, way] {
            if (way == 0) QTest::keyClick(&dialog, Qt::Key_Escape);
            if (way == 1) QTest::keyClick(dialog.findChild<QPushButton*>(), Qt::Key_Return);
            if (way == 2) dialog.findChild<QPushButton*>()->click();
        });
        QTimer failsafe;
        failsafe.setSingleShot(true);
        QObject::connect(&failsafe, &QTimer::timeout, &dialog, [&dialog] { dialog.done(-1); });
        failsafe.start(5000);
        EXPECT_NE(dialog.exec(), -1) << way;
    }
}

// The program's own messages keep every character, where the game's own are Shift-JIS.
TEST_F(AppFolderTest, OwnMessagesKeepEveryCharacter) {
    CommandLine commandLine;
    commandLine.resultsFile = "/nonexistent/한글 😀/results.csv";
    auto app = std::make_unique<CFizmoApp>(commandLine);
    ASSERT_TRUE(app->InitInstance());
    std::vector<QString> messages;
    app->MainFrame()->Host().SetMessageBoxHandler([&](const QString& text, const QString&, auto) {
        messages.push_back(text);
        return 0;
    });
    ASSERT_TRUE(QTest::qWaitFor([&] { return !messages.empty(); }));
    EXPECT_TRUE(messages[0].contains("/nonexistent/한글 😀/results.csv"))
        << messages[0].toStdString();
}

}  // namespace
