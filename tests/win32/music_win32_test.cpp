#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "audio/audio_seam.h"

// The soundtrack on the real DirectShow filter graph. Its clock on the real
// soundtrack is checked on the program itself by the Wine tests.
namespace {

TEST(DirectShowMusic, EveryCallIsHarmlessOutsideInitAndShutdownAndOverlongNamesAreRefused)
{
    EXPECT_EQ(MusicPosition(), 0.0);
    MusicPlay("music\\music00.mp3");
    MusicStop();
    MusicShutdown();
    MusicInit();
    MusicShutdown();
    MusicShutdown();
    EXPECT_EQ(MusicPosition(), 0.0);
    MusicPlay("music\\music00.mp3");

    // A name of 255 characters has no room in the conversion buffer: the
    // graph is given nothing and never runs (a graph that failed to render
    // a file would still advance its position).
    MusicInit();
    MusicPlay(std::string(255, 'a').c_str());
    Sleep(400);
    EXPECT_EQ(MusicPosition(), 0.0);
    MusicShutdown();
}

} // namespace
