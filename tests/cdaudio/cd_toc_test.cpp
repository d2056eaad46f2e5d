#include <gtest/gtest.h>

#include "audio/cdio/cd_toc.h"
#include "cdaudio/disc_image.h"

namespace {

TEST(CDPlaySpan, PositionsCountFromTheTrackStartAndRunThroughTheAudioTracksThatFollow)
{
    // Audio tracks 1 and 2, a data track 3, audio track 4, as on a mixed disc.
    CDToc toc{};
    toc.firstTrack = 1;
    toc.lastTrack = 4;
    toc.trackStart[2] = 1000;
    toc.trackStart[3] = 20000;
    toc.trackStart[4] = 30000;
    toc.trackAudio[1] = toc.trackAudio[2] = toc.trackAudio[4] = true;
    toc.leadOut = 50000;

    EXPECT_EQ(Tmsf(2, 3, 4, 5), 0x05040302u); // track in the low byte, then minutes, seconds, frames
    const struct {
        uint32_t tmsf;
        int32_t begin, end; // end 0: nothing plays
    } cases[] = {
        {1, 0, 20000}, // tracks 1 and 2, up to the data track
        {2, 1000, 20000},
        {4, 30000, 50000}, // the last track, up to the lead-out
        {Tmsf(2, 3, 4, 5), 1000 + (3 * 60 + 4) * 75 + 5, 20000},
        {Tmsf(1, 0, 13, 24), 999, 20000}, // the last sector of track 1
        {Tmsf(4, 2, 13, 74), 30000 + 133 * 75 + 74, 50000},
        {0, 0, 0},                  // no track 0
        {3, 0, 0},                  // data
        {Tmsf(3, 0, 1, 0), 0, 0},   // data, inside
        {5, 0, 0},                  // past the last track
        {255, 0, 0},
        {Tmsf(1, 0, 13, 25), 0, 0}, // one sector past track 1
        {Tmsf(4, 2, 13, 75), 0, 0}, // frames 0-74 only
        {Tmsf(4, 0, 60, 0), 0, 0},  // seconds 0-59 only
        {Tmsf(4, 255, 59, 74), 0, 0},
        {0xFFFFFFFFu, 0, 0},
    };
    for (const auto& c : cases) {
        const auto span = CDPlaySpan(toc, c.tmsf);
        EXPECT_EQ(span.has_value(), c.end != 0) << std::hex << c.tmsf;
        if (span) {
            EXPECT_EQ(span->begin, c.begin) << std::hex << c.tmsf;
            EXPECT_EQ(span->end, c.end) << std::hex << c.tmsf;
        }
    }

    CDToc empty{};
    empty.firstTrack = 1;
    EXPECT_FALSE(CDPlaySpan(empty, 1).has_value());

    // A track placed at the top of the sector range: a place past its end
    // does not wrap round to the start of the disc.
    CDToc high{};
    high.firstTrack = high.lastTrack = 1;
    high.trackAudio[1] = true;
    high.trackStart[1] = INT32_MAX - 100;
    high.leadOut = INT32_MAX;
    EXPECT_FALSE(CDPlaySpan(high, Tmsf(1, 255, 59, 74)).has_value());
    ASSERT_TRUE(CDPlaySpan(high, Tmsf(1, 0, 1, 24)).has_value());
    EXPECT_EQ(CDPlaySpan(high, Tmsf(1, 0, 1, 24))->begin, INT32_MAX - 1);
}

} // namespace
