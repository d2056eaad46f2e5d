#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>
#include <string>

#include "audio/music.h"

// The soundtrack on the real DirectShow filter graph. The test command names
// a content folder, as a Windows path, in TARVEL_WINE_CONTENT.
namespace {

double PositionAfter(int milliseconds)
{
    Sleep(DWORD(milliseconds));
    return MusicPosition();
}

TEST(DirectShowMusic, EveryCallIsHarmlessBeforeInitAndAfterShutdown)
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
}

TEST(DirectShowMusic, SoundtrackPlaysFromTheStartAndItsPositionRises)
{
    const char* content = std::getenv("TARVEL_WINE_CONTENT");
    if (!content || !*content)
        GTEST_SKIP() << "TARVEL_WINE_CONTENT names no content folder";
    const std::string file = std::string(content) + "\\music\\music00.mp3";
    MusicInit();
    MusicPlay(file.c_str());
    double position = 0.0;
    for (int i = 0; i < 50 && position < 0.5; i++)
        position = PositionAfter(100);
    EXPECT_GE(position, 0.5);
    EXPECT_LT(position, 10.0);
    MusicShutdown();
    EXPECT_EQ(MusicPosition(), 0.0);
}

// A name of 255 characters has no room in the conversion buffer: the graph
// is given nothing and never runs, so its position stays at 0.
TEST(DirectShowMusic, NameTooLongForTheConversionBufferIsRefused)
{
    MusicInit();
    const std::string name(255, 'a');
    MusicPlay(name.c_str());
    EXPECT_EQ(PositionAfter(400), 0.0);
    MusicShutdown();
}

} // namespace
