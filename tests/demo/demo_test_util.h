#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>

#include "app/app.h"
#include "app/capture/capture_platform.h"
#include "image/image_test_util.h"

// Colour of a slot's synthetic picture: never 0, the slot number in bits 8-15.
inline uint32_t SlotColour(int slot)
{
    return 0x00400000u | (uint32_t(slot) << 8) | 0x20u;
}

// The working folder moved to `folder` for the scope.
struct InFolder {
    std::filesystem::path previous = std::filesystem::current_path();
    explicit InFolder(const std::filesystem::path& folder) { std::filesystem::current_path(folder); }
    ~InFolder() { std::filesystem::current_path(previous); }
};

// A clean engine and capture platform for each test, left clean after it.
struct CleanEngineTest : ::testing::Test {
    void SetUp() override
    {
        ResetEngine();
        ResetCapturePlatform();
    }
    void TearDown() override
    {
        ShutdownApp();
        ResetEngine();
        ResetCapturePlatform();
    }
};
