#include "audio/capture/music_capture.h"

#include "audio/music.h"

double CaptureMusicPosition = 0.0;
std::string CaptureMusicFile;

double PositionForClock(int32_t clock)
{
    const double half = clock < 0 ? -0.5 : 0.5;
    return (double(clock) + half) / 100.0;
}

void MusicInit() {}

void MusicPlay(const char* file)
{
    CaptureMusicFile = file;
    CaptureMusicPosition = 0.0;
}

void MusicStop() {}

double MusicPosition()
{
    return CaptureMusicPosition;
}

void MusicShutdown()
{
    CaptureMusicFile.clear();
}
