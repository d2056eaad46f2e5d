#pragma once

#include <cstdint>
#include <optional>

// A disc's table of contents as the player needs it: where each track
// begins (its index 1, in sectors from the start of the program area),
// whether it holds audio, and where the lead-out begins. A sector is one
// CD frame, 1/75 of a second of audio.
constexpr int CDTrackLimit = 99;
constexpr int CDFramesPerSecond = 75;

struct CDToc {
    int firstTrack; // tracks firstTrack..lastTrack; none when lastTrack < firstTrack
    int lastTrack;
    int32_t trackStart[CDTrackLimit + 1]; // by track number
    bool trackAudio[CDTrackLimit + 1];
    int32_t leadOut;
};

// Sectors [begin, end) to play.
struct CDSpan {
    int32_t begin;
    int32_t end;
};

// A tmsf position holds the track in its low byte, then minutes, seconds
// and frames into that track, a byte each. Play runs from there through the
// audio tracks that follow, up to the first data track or the lead-out.
// There is no span for a track that is not on the disc or holds data, for
// seconds past 59 or frames past 74, or for a place past the track's end.
std::optional<CDSpan> CDPlaySpan(const CDToc& toc, uint32_t tmsf);
