#include <gtest/gtest.h>

#include "audio/cdio/cd_toc.h"

namespace {

constexpr uint32_t Tmsf(int track, int minutes, int seconds, int frames)
{
    return uint32_t(track) | uint32_t(minutes) << 8 | uint32_t(seconds) << 16 | uint32_t(frames) << 24;
}

// Audio tracks 1 and 2, a data track 3, audio track 4, as on a mixed disc.
CDToc MixedDisc()
{
    CDToc toc{};
    toc.firstTrack = 1;
    toc.lastTrack = 4;
    toc.trackStart[1] = 0;
    toc.trackStart[2] = 1000;
    toc.trackStart[3] = 20000;
    toc.trackStart[4] = 30000;
    toc.trackAudio[1] = toc.trackAudio[2] = toc.trackAudio[4] = true;
    toc.leadOut = 50000;
    return toc;
}

void ExpectSpan(uint32_t tmsf, int32_t begin, int32_t end)
{
    const auto span = CDPlaySpan(MixedDisc(), tmsf);
    ASSERT_TRUE(span.has_value()) << std::hex << tmsf;
    EXPECT_EQ(span->begin, begin) << std::hex << tmsf;
    EXPECT_EQ(span->end, end) << std::hex << tmsf;
}

TEST(CDPlaySpan, TrackStartsRunThroughTheAudioTracksThatFollow)
{
    ExpectSpan(1, 0, 20000);     // tracks 1 and 2, up to the data track
    ExpectSpan(2, 1000, 20000);
    ExpectSpan(4, 30000, 50000); // the last track, up to the lead-out
}

TEST(CDPlaySpan, MinutesSecondsAndFramesCountFromTheTrackStart)
{
    // Track in the low byte, then minutes, seconds, frames.
    EXPECT_EQ(Tmsf(2, 3, 4, 5), 0x05040302u);
    ExpectSpan(Tmsf(2, 3, 4, 5), 1000 + (3 * 60 + 4) * 75 + 5, 20000);
    ExpectSpan(Tmsf(1, 0, 13, 24), 999, 20000); // the last sector of track 1
    ExpectSpan(Tmsf(4, 2, 13, 74), 30000 + 133 * 75 + 74, 50000);
}

TEST(CDPlaySpan, NothingPlaysForPositionsOffTheAudioTracks)
{
    const CDToc toc = MixedDisc();
    EXPECT_FALSE(CDPlaySpan(toc, 0).has_value());                  // no track 0
    EXPECT_FALSE(CDPlaySpan(toc, 3).has_value());                  // data
    EXPECT_FALSE(CDPlaySpan(toc, Tmsf(3, 0, 1, 0)).has_value());   // data, inside
    EXPECT_FALSE(CDPlaySpan(toc, 5).has_value());                  // past the last track
    EXPECT_FALSE(CDPlaySpan(toc, 255).has_value());
    EXPECT_FALSE(CDPlaySpan(toc, Tmsf(1, 0, 13, 25)).has_value()); // one sector past track 1
    EXPECT_FALSE(CDPlaySpan(toc, Tmsf(4, 2, 13, 75)).has_value()); // frames 0-74 only
    EXPECT_FALSE(CDPlaySpan(toc, Tmsf(4, 0, 60, 0)).has_value());  // seconds 0-59 only
    EXPECT_FALSE(CDPlaySpan(toc, Tmsf(4, 255, 59, 74)).has_value());
    EXPECT_FALSE(CDPlaySpan(toc, 0xFFFFFFFFu).has_value());

    CDToc empty{};
    empty.firstTrack = 1;
    empty.lastTrack = 0;
    EXPECT_FALSE(CDPlaySpan(empty, 1).has_value());
}

} // namespace
