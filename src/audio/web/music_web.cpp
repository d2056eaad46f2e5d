// The soundtrack in the browser: WebAudio decodes the file from the
// program's file system and plays it on the page's AudioContext
// (audio_web.js); its position is the context's time since playback began.
#include "audio/audio_seam.h"
#include "audio/web/music_web.h"
#include "core/files.h"

extern "C" {
void tarvel_music_prefetch(const char* path);
void tarvel_music_play(const char* path);
void tarvel_music_stop(void);
double tarvel_music_position(void);
void tarvel_music_release(void);
}

void PrefetchMusic(const char* file)
{
    if (MusicNameFits(file))
        tarvel_music_prefetch(NativePath(file).c_str());
}

// The page's AudioContext serves the soundtrack; nothing to create here.
void MusicInit() {}

// Decoding takes a moment, unless PrefetchMusic did it before: until it is
// done, and for a file that cannot be read or decoded, nothing plays and the
// position stays 0.
void MusicPlay(const char* file)
{
    if (!MusicNameFits(file))
        return;
    tarvel_music_play(NativePath(file).c_str());
}

void MusicStop()
{
    tarvel_music_stop();
}

double MusicPosition()
{
    return tarvel_music_position();
}

void MusicShutdown()
{
    tarvel_music_release();
}
