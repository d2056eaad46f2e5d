#include "audio/cdio/cd_toc.h"

static int32_t TrackEnd(const CDToc& toc, int track)
{
    return track < toc.lastTrack ? toc.trackStart[track + 1] : toc.leadOut;
}

std::optional<CDSpan> CDPlaySpan(const CDToc& toc, uint32_t tmsf)
{
    const int track = int(tmsf & 0xFF);
    const int minutes = int(tmsf >> 8 & 0xFF);
    const int seconds = int(tmsf >> 16 & 0xFF);
    const int frames = int(tmsf >> 24);
    if (track < toc.firstTrack || track > toc.lastTrack || !toc.trackAudio[track])
        return std::nullopt;
    if (seconds >= 60 || frames >= CDFramesPerSecond)
        return std::nullopt;
    // In 64 bits: a disc image can put a track anywhere a 32-bit sector
    // number reaches, and the place must not wrap round to an earlier one.
    const int64_t begin = int64_t(toc.trackStart[track]) + (minutes * 60 + seconds) * CDFramesPerSecond + frames;
    if (begin >= TrackEnd(toc, track))
        return std::nullopt;
    int last = track;
    while (last < toc.lastTrack && toc.trackAudio[last + 1])
        last++;
    return CDSpan{int32_t(begin), TrackEnd(toc, last)};
}
