// Plays for a long time with random input, checking the game's invariants after every
// period. FIZMO_SOAK_TICKS sets the length (the long run uses 100000, about three hours).
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>

#include "play_driver.h"
#include "temp_folder.h"

namespace {

namespace fs = std::filesystem;

long ResidentKilobytes() {
    std::ifstream status("/proc/self/status");
    std::string key;
    long value = 0;
    while (status >> key) {
        if (key == "VmRSS:") {
            status >> value;
            return value;
        }
        status.ignore(1 << 12, '\n');
    }
    return 0;
}

class Soak : public ::testing::Test {
protected:
    Soak() : driver(1280, 1024, 2024), rng(12345) {
        std::ofstream(dir / "noise.dat", std::ios::binary) << Noise(200000);
        std::ofstream(dir / "utf8.dat") << "りんごが 3こ。\nもう 2こ。\nぜんぶで？\n5\n";
        fs::create_directories(dir / "folder");
        files = {FIZMO_SOURCE_DIR "/res/Mondai.dat", (dir / "noise.dat").string(),
                 (dir / "utf8.dat").string(),        (dir / "folder").string(),
                 (dir / "missing.dat").string(),     ""};
    }

    std::string Noise(std::size_t size) {
        std::string bytes(size, '\0');
        for (char& c : bytes) c = static_cast<char>(rng());
        return bytes;
    }
    int Roll(int below) { return static_cast<int>(rng() % static_cast<unsigned>(below)); }

    void Resize() {
        const int w = Roll(8) == 0 ? 0 : Roll(3841);
        const int h = Roll(8) == 0 ? 0 : Roll(2161);
        driver.window.Resize(w, h);
        driver.view.OnSize(0, w, h);
    }

    void Command() {
        static constexpr unsigned kIds[] = {ID_START,
                                            ID_STOP,
                                            ID_MODE_TIMES_TABLE,
                                            ID_MODE_ADDITION,
                                            ID_MODE_WORD_PROBLEMS,
                                            ID_LEVEL_EASY,
                                            ID_LEVEL_NORMAL,
                                            ID_LEVEL_HARD};
        if (Roll(10) == 0) {
            driver.window.fileNameAnswers.push_back({Roll(4) != 0, files[Roll(6)]});
            driver.view.OnCommand(ID_CHANGE_PROBLEM_FILE);
            return;
        }
        driver.view.OnCommand(kIds[Roll(8)]);
    }

    void Input() {
        CFizmoView& v = driver.view;
        switch (Roll(8)) {
            case 0:
                v.OnMouseMove(0, Roll(1400) - 60, Roll(1100) - 60);
                break;
            case 1:
                v.OnLButtonDown(0, 0, 0);
                break;
            case 2:
                v.OnLButtonDblClk(0, 0, 0);
                break;
            case 3:
                v.OnChar("zZxX a"[Roll(7)], 1, 0);
                break;
            case 4:
                v.OnKeyDown(0x62 + 2 * Roll(4), 1, 0);
                break;
            case 5:
                v.OnRButtonDown(0, 0, 0);
                break;
            default:
                break;
        }
    }

    void CheckInvariants(int tick, int scoreBefore) {
        const CFizmoView& v = driver.view;
        ASSERT_GE(g_nNextShot, 0) << tick;
        ASSERT_LT(g_nNextShot, kShots) << tick;
        ASSERT_GE(v.m_nDigitIndex, 0) << tick;
        ASSERT_LT(v.m_nDigitIndex, kTiles) << tick;
        ASSERT_GE(v.m_nScrollX, 0) << tick;
        ASSERT_LE(v.m_nScrollX, 640) << tick;
        // Points come in +10 and -5; Start and each stage begin again at 0.
        ASSERT_TRUE(v.m_nScore == 0 || (v.m_nScore - scoreBefore) % 5 == 0)
            << tick << ": " << scoreBefore << " -> " << v.m_nScore;
        for (int j = 0; j < kShots; ++j)
            ASSERT_TRUE(v.m_bShotActive[j] == 0 || v.m_bShotActive[j] == 1);
    }

    PlayDriver driver;
    std::mt19937 rng;
    TempFolder dir;
    std::vector<std::string> files;
};

TEST_F(Soak, RandomPlayKeepsEveryInvariant) {
    const char* setting = std::getenv("FIZMO_SOAK_TICKS");
    const int ticks = setting ? std::atoi(setting) : 3000;
    driver.Start(1);
    [[maybe_unused]] long settled = 0;  // unread under AddressSanitizer
    for (int tick = 0; tick < ticks; ++tick) {
        const int scoreBefore = driver.view.m_nScore;
        if (Roll(100) == 0) Resize();
        if (Roll(40) == 0) Command();
        for (int i = Roll(3); i > 0; --i) Input();
        if (!driver.Period()) {
            // Stopped or ended: the window is still repainted now and then.
            driver.window.AdvanceMs(kTimerPeriodMs);
            if (Roll(20) == 0) driver.view.OnPaint();
        }
        CheckInvariants(tick, scoreBefore);
        if (HasFatalFailure()) return;
        if (tick == ticks / 10) settled = ResidentKilobytes();
    }
#if !defined(__SANITIZE_ADDRESS__)
    // Past the warm-up, nothing may keep growing.
    EXPECT_LT(ResidentKilobytes() - settled, 32 * 1024);
#endif
}

}  // namespace
