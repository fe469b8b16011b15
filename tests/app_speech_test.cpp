// よみあげ in the program: on and remembered with a voice, named in the About box with its
// licence. (Greyed with its tip without Open JTalk: the read-aloud end-to-end test.)
#include <QAction>
#include <QLabel>
#include <QMenuBar>
#include <QtTest/QtTest>
#include <filesystem>

#include "app/about_dialog.h"
#include "app/command_ids.h"
#include "app/fizmo_app.h"
#include "app/main_frame.h"
#include "app/menu.h"
#include "app/records_keeper.h"
#include "app/speech_keeper.h"
#include "app/view_host.h"
#include "app_fixture.h"
#include "game/fizmo_view.h"
#include "sound_test_waves.h"

namespace {

class SpeechAppTest : public AppFolderTest {
protected:
    void Launch(CommandLine commandLine) {
        app_ = std::make_unique<CFizmoApp>(std::move(commandLine));
        ASSERT_TRUE(app_->InitInstance());
        app_->MainFrame()->Host().SetMessageBoxHandler([](auto&&...) { return 0; });
        ASSERT_TRUE(QTest::qWaitFor([this] { return app_->MainFrame()->Host().InitialUpdates(); }));
    }
    void TearDown() override {
        app_.reset();
        FizmoSettings()->remove(QStringLiteral("speech"));
        AppFolderTest::TearDown();
    }
    QAction* Item() { return FindCommand(app_->MainFrame()->menuBar(), ID_READ_ALOUD); }
    // A stand-in open_jtalk that reads everything as the same short wave.
    std::string StandIn() {
        const QString bin = dir_.filePath("bin");
        QDir().mkpath(bin);
        QDir().mkpath(dir_.filePath("dic"));
        std::ofstream(dir_.filePath("dic/sys.dic").toStdString()) << "x";
        std::ofstream(dir_.filePath("voice.htsvoice").toStdString()) << "[GLOBAL]\n";
        std::ofstream(dir_.filePath("LICENSE_voice.htsvoice").toStdString())
            << "# Voice by Someone #\n# under a licence #\n";
        const Bytes wave = RiffBuilder()
                               .Chunk("fmt ", FormatBody(1, 48000, 2))
                               .Chunk("data", Bytes(9600, 0x40))
                               .Build();
        std::ofstream(dir_.filePath("ok.wav").toStdString(), std::ios::binary)
            .write(reinterpret_cast<const char*>(wave.data()), wave.size());
        const std::string command = dir_.filePath("bin/open_jtalk").toStdString();
        std::ofstream(command) << "#!/bin/sh\nwhile [ $# -gt 1 ]; do [ \"$1\" = -ow ] && out=$2; "
                                  "shift; done\n/bin/cp '"
                               << dir_.filePath("ok.wav").toStdString() << "' \"$out\"\n";
        std::filesystem::permissions(command, std::filesystem::perms::owner_all);
        return bin.toStdString();
    }

    std::unique_ptr<CFizmoApp> app_;
};

}  // namespace

TEST_F(SpeechAppTest, WithAVoiceItIsOnRememberedAndCreditedInTheAboutBox) {
    ScopedEnv path("PATH", StandIn());
    ScopedEnv dictionary("FIZMO_JTALK_DICTIONARY", dir_.filePath("dic").toStdString());
    CommandLine commandLine;
    commandLine.readAloud = true;
    commandLine.voiceFile = dir_.filePath("voice.htsvoice").toStdString();
    Launch(commandLine);
    EXPECT_TRUE(Item()->isEnabled());
    emit static_cast<QMenu*>(Item()->parent())->aboutToShow();
    EXPECT_TRUE(Item()->isChecked());
    {
        CAboutDlg about(app_->MainFrame(), app_->Speech()->Credit());
        auto* credit = about.findChild<QLabel*>(QStringLiteral("voiceCredit"));
        ASSERT_NE(credit, nullptr);
        EXPECT_EQ(credit->text(),
                  "よみあげの声: voice.htsvoice\nVoice by Someone\nunder a licence");
    }
    // Turned off from the menu, it stays off at the next start, voice and all remembered.
    app_->MainFrame()->OnCommand(ID_READ_ALOUD);
    app_.reset();
    Launch(CommandLine{});
    emit static_cast<QMenu*>(Item()->parent())->aboutToShow();
    EXPECT_TRUE(Item()->isEnabled());
    EXPECT_FALSE(Item()->isChecked());
}
