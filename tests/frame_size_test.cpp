// Frames on windows of every size: up to 1280 x 1024 exactly as they always were, and
// beyond it the game over the whole window.
#include <gtest/gtest.h>

#include <QCryptographicHash>
#include <string>
#include <utility>

#include "play_driver.h"

namespace {

// A digest of every frame shown while a times-table game is played through its first stage
// clear: marks, missiles, heads-up text and the held stage-clear line included.
std::string PlayedFramesDigest(int width, int height) {
    PlayDriver play(width, height);
    play.Start(1);
    QCryptographicHash hash(QCryptographicHash::Sha1);
    auto add = [&hash](const QImage& frame) {
        hash.addData(QByteArrayView(frame.constBits(), frame.sizeInBytes()));
    };
    play.view.OnPaint();
    add(play.window.Image());
    for (int shot = 0; shot < 30 && !play.view.m_bStageClear; ++shot) {
        EXPECT_TRUE(shot % 7 == 3 ? play.MissDigit() : play.AnswerDigit());
        add(play.window.Image());
    }
    EXPECT_EQ(play.view.m_bStageClear, 1);
    play.Settle();
    for (const QImage& held : play.window.shownWhileHeld) add(held);
    return hash.result().toHex().toStdString();
}

TEST(FrameSizes, UpToTheLeastBackBufferFramesAreUnchanged) {
    struct Case {
        int width, height;
        const char* digest;
    };
    for (const Case& c : {Case{1280, 1024, "e708e235217d401083f3b95ead1dc07d4b6ad1f6"},
                          Case{1024, 768, "4abc829870ab6e41a08b571da498c0387b13641e"},
                          Case{640, 484, "f3d94889cc0d5a827b56f469ae123ca316675e9e"}})
        EXPECT_EQ(PlayedFramesDigest(c.width, c.height), c.digest) << c.width << " x " << c.height;
}

// The background reaches the far corner of a 1920 x 1080 window; the back buffer only ever
// grows, so shrinking and growing back allocates nothing.
TEST(FrameSizes, BeyondTheLeastBackBufferTheGameCoversTheWindow) {
    SoundDeviceRelease soundDevice;
    FakeWindow window(1920, 1080);
    ScriptedRandom random(1);
    CFizmoView view(&window, &random);
    view.OnSize(0, 1920, 1080);
    view.OnInitialUpdate();
    test_images::Fill(view);
    view.m_nScrollX = 0;
    view.OnPaint();
    EXPECT_EQ(window.Image().pixel(1919, 1079), test_images::BackgroundColumn(639));

    const uchar* pixels = view.m_pBackBitmap->Image().constBits();
    for (auto [w, h] : {std::pair{800, 600}, {1366, 768}, {1920, 1080}}) view.OnSize(0, w, h);
    EXPECT_EQ(view.m_pBackBitmap->Image().constBits(), pixels);
    view.OnSize(0, 1000, 1440);
    EXPECT_EQ(view.m_pBackBitmap->Image().size(), QSize(1920, 1440));
}

}  // namespace
