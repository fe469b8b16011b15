#pragma once
// Plays the game headless: ticks, paints and input in the program's order on a FakeWindow
// and its fake clock, and steers the ship so that a missile fired now meets a chosen tile.

#include <cmath>
#include <cstdlib>
#include <optional>
#include <vector>

#include "fake_window.h"
#include "game/fizmo_view.h"
#include "game/judging.h"
#include "game/world_step.h"
#include "sound/wave_sound.h"

// A view shown in a test opens the program-wide sound device; later tests open their own.
struct SoundDeviceRelease {
    SoundDeviceRelease() = default;
    SoundDeviceRelease(const SoundDeviceRelease&) = delete;
    SoundDeviceRelease& operator=(const SoundDeviceRelease&) = delete;
    ~SoundDeviceRelease() {
        if (g_pDirectSound) g_pDirectSound->Release();
        g_pDirectSound = nullptr;
    }
};

// Plain shapes in colours the frame tests look for, standing in for the pictures.
namespace test_images {

inline QRgb BackgroundColumn(int x) {
    return qRgb(x & 0xFF, (x >> 8) * 40, 0x40);
}
inline QRgb Tile(int k) {
    return qRgb(250, 20 * k, 200);
}
constexpr QRgb kShip = qRgb(160, 160, 170);
constexpr QRgb kRightMark = qRgb(255, 0, 0);
constexpr QRgb kWrongMark = qRgb(255, 0, 128);
constexpr QRgb kExplosion = qRgb(255, 255, 0);
constexpr QRgb kMissile = qRgb(0, 255, 255);

// `image` black, or white for a mask, with a square of `colour` (black for a mask) inside.
inline void Sprite(Bitmap& image, int size, int from, int to, QRgb colour, bool mask) {
    image.CreateCompatibleBitmap(size, size);
    image.Image().fill(mask ? Qt::white : Qt::black);
    for (int y = from; y < to; ++y)
        for (int x = from; x < to; ++x) image.Image().setPixel(x, y, mask ? qRgb(0, 0, 0) : colour);
}

inline void Fill(CFizmoView& v) {
    v.m_pBackground->CreateCompatibleBitmap(1280, 400);
    for (int y = 0; y < 400; ++y)
        for (int x = 0; x < 1280; ++x) v.m_pBackground->Image().setPixel(x, y, BackgroundColumn(x));
    Sprite(*v.m_pShipMask, 177, 40, 137, 0, true);
    Sprite(*v.m_pShipBitmap, 177, 40, 137, kShip, false);
    Sprite(*v.m_pCorrectMark, 48, 12, 36, kRightMark, false);
    Sprite(*v.m_pWrongMark, 48, 12, 36, kWrongMark, false);
    Sprite(*v.m_pExplosionMask, 48, 12, 36, 0, true);
    Sprite(*v.m_pExplosionBitmap, 48, 12, 36, kExplosion, false);
    Sprite(*v.m_pMissileMask, 48, 16, 32, 0, true);
    Sprite(*v.m_pMissileBitmap, 48, 16, 32, kMissile, false);
    for (int k = 0; k < kTiles; ++k) {
        v.m_pDigitBitmap[k]->CreateCompatibleBitmap(48, 48);
        v.m_pDigitBitmap[k]->Image().fill(Tile(k));
    }
}

}  // namespace test_images

// A generator whose state can be copied, so the driver can foresee the tiles' wraps.
class CopyableRandom final : public Random {
public:
    explicit CopyableRandom(unsigned seed) : state_(seed) {}
    int Rand() override {
        state_ = state_ * 1103515245u + 12345u;
        return static_cast<int>((state_ >> 16) & 0x7FFF);
    }
    void Seed(unsigned) override {}  // games stay repeatable

private:
    unsigned state_;
};

class PlayDriver {
public:
    PlayDriver(int width, int height, unsigned seed = 7)
        : window(width, height), random(seed), view(&window, &random) {
        view.OnSize(0, width, height);
        view.OnInitialUpdate();
        if (!view.m_pShipBitmap->HasImage()) test_images::Fill(view);
    }

    void Start(int quizMode) {
        view.OnCommand(quizMode == 1   ? ID_MODE_TIMES_TABLE
                       : quizMode == 2 ? ID_MODE_ADDITION
                       : quizMode == 5 ? ID_MODE_SUBTRACTION
                       : quizMode == 6 ? ID_MODE_DIVISION
                                       : ID_MODE_WORD_PROBLEMS);
        view.OnCommand(ID_START);
        lastTickMs_ = window.NowMs();
    }

    // One timer period: the tick, then the paint it asked for. False once the timer is off.
    bool Period() {
        if (!window.timerRunning) return false;
        // A pause inside the last paint leaves one tick due at once, not a burst.
        if (window.NowMs() < lastTickMs_ + kTimerPeriodMs)
            window.AdvanceMs(lastTickMs_ + kTimerPeriodMs - window.NowMs());
        lastTickMs_ = window.NowMs();
        const std::size_t asked = window.invalidations.size();
        lastShown = window.Image().copy();
        view.OnTimer(kTimerId);
        if (window.invalidations.size() > asked) view.OnPaint();
        return true;
    }

    // Runs pending stage-clear sequences, which move every tile.
    void Settle() {
        while (view.m_bStageClear && Period()) {
        }
    }

    int WantedTile() const { return std::atoi(view.m_strDigit[view.m_nDigitIndex].c_str()); }

    // Moves the ship so that a missile fired now meets tile k before anything else, with the
    // ship clear of every tile meanwhile. False when no such place exists now.
    bool AimAt(int k) {
        const int n = TileSize(view.m_nViewHeight);
        const int h = n / 2;
        std::optional<std::pair<int, int>> best, fallback;
        int bestDistance = kLongestFlight;
        ForeseeTiles();
        for (int t = 1; t <= kLongestFlight; ++t) {
            const auto target = foresight_[t][k];
            const int shipX = target.first + n / 2 + 30 * t - 80;
            const int shipY = target.second + h - 89;
            if (!FirstHitIs(k, t, shipX, shipY, n, h)) continue;
            if (!fallback) fallback = {shipX, shipY};
            const bool inView = shipX >= 0 && shipX + 177 <= view.m_nViewWidth;
            if (inView && std::abs(t - preferredFlight) < bestDistance) {
                best = {shipX, shipY};
                bestDistance = std::abs(t - preferredFlight);
            }
        }
        if (!best) best = fallback;
        if (!best) return false;
        MoveShip(best->first, best->second);
        return true;
    }

    // Aims at tile k (waiting, parked out of harm's way, until an aim exists), fires and runs
    // until the missile is judged. False when it was never judged.
    bool Shoot(int k) {
        Settle();
        for (int wait = 0; !AimAt(k); ++wait) {
            if (wait > 200) return false;
            MoveShip(-300, 0);  // tiles never go left of 0: the ship is safe there
            if (!Period()) return false;
        }
        view.OnLButtonDown(0, 0, 0);
        const int slot = g_nNextShot;
        for (int period = 0; period <= kLongestFlight + 1; ++period) {
            if (!Period()) return false;
            if (!view.m_bShotActive[slot]) return view.m_nShotX[slot] == -100;
        }
        return false;
    }

    bool AnswerDigit() {
        Settle();
        return Shoot(WantedTile());
    }
    bool MissDigit() {
        Settle();
        return Shoot((WantedTile() + 5) % kTiles);
    }

    void MoveShip(int shipX, int shipY) { view.OnMouseMove(0, shipX + 88, shipY + 88); }

    SoundDeviceRelease soundDevice;  // released after the view's sounds
    FakeWindow window;
    CopyableRandom random;
    CFizmoView view;
    QImage lastShown;         // the window as it was before the latest period
    int preferredFlight = 6;  // ticks a missile flies when there is a choice

private:
    static constexpr int kLongestFlight = 40;

    // Tile positions after each of the next ticks, from a copy of the world and its random.
    void ForeseeTiles() {
        foresight_.assign(kLongestFlight + 1, {});
        CopyableRandom unused(0);
        CFizmoView world(nullptr, &unused);
        CopyableRandom copy = random;
        CopyMovingWorld(view, world);
        for (int t = 1; t <= kLongestFlight; ++t) {
            StepWorld(world, copy, [](double x) { return std::sin(x); });
            foresight_[t].resize(kTiles);
            for (int k = 0; k < kTiles; ++k)
                foresight_[t][k] = {world.m_nTargetX[k], world.m_nTargetY[k]};
        }
    }

    bool FirstHitIs(int k, int t, int shipX, int shipY, int n, int h) {
        for (int i = 1; i <= t; ++i) {
            for (const auto& [x, y] : foresight_[i])
                if (TileTouchesShip(x, y, shipX, shipY, h)) return false;
            const int shotX = shipX + 80 - 30 * i;
            for (int other = 0; other < kTiles; ++other) {
                const auto [x, y] = foresight_[i][other];
                if (MissileHitsTile(shotX, shipY + 65, x, y, n, h)) return other == k;
            }
        }
        return false;
    }

    std::vector<std::vector<std::pair<int, int>>> foresight_;
    long long lastTickMs_ = 0;
};
