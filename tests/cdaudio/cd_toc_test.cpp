#include <gtest/gtest.h>

#include <utility>

#include "audio/cdio/cd_toc.h"
#include "cdaudio/disc_image.h"

namespace {

// The sectors played from a tmsf place: [begin, end), or {0, 0} for none.
std::pair<int32_t, int32_t> Span(const CDToc& toc, uint32_t tmsf)
{
    const auto span = CDPlaySpan(toc, tmsf);
    return span ? std::pair{span->begin, span->end} : std::pair{0, 0};
}

TEST(CDPlaySpan, PlacesCountFromTheTrackStartAndRunThroughTheAudioTracksThatFollow)
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
        std::pair<int32_t, int32_t> span;
    } cases[] = {
        {1, {0, 20000}}, // tracks 1 and 2, up to the data track
        {4, {30000, 50000}}, // the last track, up to the lead-out
        {Tmsf(2, 3, 4, 5), {1000 + (3 * 60 + 4) * 75 + 5, 20000}},
        {Tmsf(1, 0, 13, 24), {999, 20000}}, // the last sector of track 1
        {Tmsf(4, 2, 13, 74), {30000 + 133 * 75 + 74, 50000}},
        {0, {0, 0}}, // no track 0
        {Tmsf(3, 0, 1, 0), {0, 0}}, // data
        {5, {0, 0}}, // past the last track
        {Tmsf(1, 0, 13, 25), {0, 0}}, // one sector past track 1
        {Tmsf(4, 2, 13, 75), {0, 0}}, // frames 0-74 only
        {Tmsf(4, 0, 60, 0), {0, 0}}, // seconds 0-59 only
        {0xFFFFFFFFu, {0, 0}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Span(toc, c.tmsf), c.span) << std::hex << c.tmsf;

    toc.lastTrack = 0; // no tracks
    EXPECT_EQ(Span(toc, 1), std::pair(0, 0));
    // A track at the top of the sector range: a place past its end does not wrap round.
    toc.lastTrack = 1;
    toc.trackStart[1] = INT32_MAX - 100;
    toc.leadOut = INT32_MAX;
    EXPECT_EQ(Span(toc, Tmsf(1, 255, 59, 74)), std::pair(0, 0));
    EXPECT_EQ(Span(toc, Tmsf(1, 0, 1, 24)), std::pair(INT32_MAX - 1, INT32_MAX));
}

} // namespace
