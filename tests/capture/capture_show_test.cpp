#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "app/capture/capture_show.h"
#include "display/capture/display_capture.h"

namespace {

// A digest of every presented frame of a play at 8 frames per second up to
// clock 2000: enough to pass noise layers, random layers and shears.
std::vector<uint64_t> PlayDigests()
{
    std::vector<uint64_t> digests;
    OpenShow();
    PlayAtRate(8, 2000, [&](int64_t, int32_t) {
        uint64_t h = 1469598103934665603ull;
        for (uint32_t p : CaptureFrame)
            h = (h ^ p) * 1099511628211ull;
        digests.push_back(h);
        return true;
    });
    CloseShow();
    return digests;
}

TEST(CaptureShow, ReplaysTheSameFramesAfterAReset)
{
    const std::filesystem::path previous = std::filesystem::current_path();
    std::filesystem::current_path(TARVEL_CONTENT_DIR);
    const std::vector<uint64_t> first = PlayDigests();
    ResetShow();
    const std::vector<uint64_t> second = PlayDigests();
    ResetShow();
    std::filesystem::current_path(previous);
    ASSERT_EQ(first.size(), size_t(160));
    EXPECT_EQ(first, second);
}

} // namespace
