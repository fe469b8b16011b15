#pragma once
// What every test of a real window needs: a folder of its own holding a small Mondai.dat as
// the current folder, and the sound device given back after the test.

#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>
#include <fstream>

#include "platform/sound_device.h"
#include "sound/wave_sound.h"

class AppFolderTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (qEnvironmentVariableIsEmpty("SDL_AUDIODRIVER")) qputenv("SDL_AUDIODRIVER", "dummy");
        ASSERT_TRUE(dir_.isValid());
        std::ofstream(dir_.filePath("Mondai.dat").toStdString()) << "a\nb\nc\n12\n";
        previousDir_ = QDir::currentPath();
        QDir::setCurrent(dir_.path());
    }
    // Call after the window is gone.
    void TearDown() override {
        // The sound device is the program's for its whole run; each test opens its own.
        if (g_pDirectSound) g_pDirectSound->Release();
        g_pDirectSound = nullptr;
        QDir::setCurrent(previousDir_);
    }

    QTemporaryDir dir_;
    QString previousDir_;
};
