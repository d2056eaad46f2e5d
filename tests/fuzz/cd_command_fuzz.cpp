// libFuzzer target for the CD commands: a fuzzed string parsed, written again
// as the engine writes it, and its position (or a fuzzed one) through the
// track arithmetic (CDPlaySpan) on a fuzzed table of contents.

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <string>

#include "audio/audio_seam.h"
#include "audio/cdaudio.h"
#include "audio/cdio/cd_command.h"
#include "audio/cdio/cd_toc.h"

void SendCDCommand(const char* command)
{
    ParseCDCommand(command);
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzedDataProvider in(data, size);
    const CDCommand command = ParseCDCommand(in.ConsumeRandomLengthString(64).c_str());
    if (command.kind == CDCommandKind::Play || command.kind == CDCommandKind::Seek)
        PlayCD(command.position);
    else if (command.kind == CDCommandKind::Stop)
        StopCD();
    else if (command.kind == CDCommandKind::Close)
        CloseCD();
    else if (command.kind != CDCommandKind::Unknown)
        OpenCD();

    CDToc toc{};
    toc.firstTrack = in.ConsumeIntegralInRange(1, CDTrackLimit);
    toc.lastTrack = in.ConsumeIntegralInRange(toc.firstTrack, CDTrackLimit);
    for (int track = toc.firstTrack; track <= toc.lastTrack; track++) {
        toc.trackStart[track] = in.ConsumeBool() ? in.ConsumeIntegralInRange(0, 400000) : in.ConsumeIntegral<int32_t>();
        toc.trackAudio[track] = in.ConsumeBool();
    }
    toc.leadOut = in.ConsumeBool() ? in.ConsumeIntegralInRange(0, 450000) : in.ConsumeIntegral<int32_t>();
    CDPlaySpan(toc, command.kind == CDCommandKind::Play ? command.position : in.ConsumeIntegral<uint32_t>());
    return 0;
}
