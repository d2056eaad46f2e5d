// libFuzzer target for the CD commands. A fuzzed string is read as a command
// (ParseCDCommand) and checked against the six forms written out by hand:
// the fixed ones exactly, "seek cdaudio to N" and "play cdaudio from N" with
// N decimal digits only, of 32 bits. A command that parsed is written again
// as the engine writes it (PlayCD, StopCD, OpenCD, CloseCD through this
// program's SendCDCommand) and must read back the same. Its position, or a
// fuzzed one, then goes through the player's track arithmetic (CDPlaySpan)
// on a fuzzed table of contents, whose span must lie on the disc, start at
// the position's place and end where the run of audio tracks does.

#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "audio/audio_seam.h"
#include "audio/cdaudio.h"
#include "audio/cdio/cd_command.h"
#include "audio/cdio/cd_toc.h"

namespace {

std::vector<CDCommand> Sent;

// The command the text must give, worked out without the parser.
CDCommand Expected(std::string_view text)
{
    const std::pair<std::string_view, CDCommandKind> fixed[] = {
        {"open cdaudio", CDCommandKind::Open},
        {"set cdaudio time format tmsf", CDCommandKind::SetTimeFormatTmsf},
        {"stop cdaudio", CDCommandKind::Stop},
        {"close cdaudio", CDCommandKind::Close},
    };
    for (const auto& [words, kind] : fixed)
        if (text == words)
            return {kind, 0};
    const std::pair<std::string_view, CDCommandKind> positioned[] = {
        {"seek cdaudio to ", CDCommandKind::Seek},
        {"play cdaudio from ", CDCommandKind::Play},
    };
    for (const auto& [words, kind] : positioned) {
        if (!text.starts_with(words))
            continue;
        const std::string_view digits = text.substr(words.size());
        uint32_t position = 0;
        const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), position);
        if (!digits.empty() && error == std::errc() && end == digits.data() + digits.size())
            return {kind, position};
    }
    return {CDCommandKind::Unknown, 0};
}

bool Same(CDCommand a, CDCommand b)
{
    return a.kind == b.kind && a.position == b.position;
}

// What the engine sends for a command, read back.
std::vector<CDCommand> AsTheEngineSendsIt(CDCommand command)
{
    Sent.clear();
    switch (command.kind) {
    case CDCommandKind::Seek:
    case CDCommandKind::Play:
        PlayCD(command.position);
        break;
    case CDCommandKind::Stop:
        StopCD();
        break;
    case CDCommandKind::Open:
    case CDCommandKind::SetTimeFormatTmsf:
        OpenCD();
        break;
    case CDCommandKind::Close:
        CloseCD();
        break;
    case CDCommandKind::Unknown:
        break;
    }
    return Sent;
}

void CheckSpan(FuzzedDataProvider& in, uint32_t tmsf)
{
    CDToc toc{};
    toc.firstTrack = in.ConsumeIntegralInRange(1, CDTrackLimit);
    toc.lastTrack = in.ConsumeIntegralInRange(toc.firstTrack, CDTrackLimit);
    for (int track = toc.firstTrack; track <= toc.lastTrack; track++) {
        toc.trackStart[track] = in.ConsumeBool() ? in.ConsumeIntegralInRange(0, 400000) : in.ConsumeIntegral<int32_t>();
        toc.trackAudio[track] = in.ConsumeBool();
    }
    toc.leadOut = in.ConsumeBool() ? in.ConsumeIntegralInRange(0, 450000) : in.ConsumeIntegral<int32_t>();

    const std::optional<CDSpan> span = CDPlaySpan(toc, tmsf);
    if (!span)
        return;
    const int track = int(tmsf & 0xFF);
    const int64_t offset = (int64_t(tmsf >> 8 & 0xFF) * 60 + (tmsf >> 16 & 0xFF)) * CDFramesPerSecond + (tmsf >> 24);
    auto end = [&](int t) { return t < toc.lastTrack ? toc.trackStart[t + 1] : toc.leadOut; };
    int last = track;
    while (last < toc.lastTrack && toc.trackAudio[last + 1])
        last++;
    const bool valid = track >= toc.firstTrack && track <= toc.lastTrack && toc.trackAudio[track]
                    && (tmsf >> 16 & 0xFF) < 60 && (tmsf >> 24) < uint32_t(CDFramesPerSecond)
                    && span->begin == int64_t(toc.trackStart[track]) + offset && span->begin < end(track)
                    && span->end == end(last);
    if (!valid)
        __builtin_trap();
}

} // namespace

void SendCDCommand(const char* command)
{
    Sent.push_back(ParseCDCommand(command));
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzedDataProvider in(data, size);
    const std::string text = in.ConsumeRandomLengthString(64);
    const CDCommand command = ParseCDCommand(text.c_str());
    if (!Same(command, Expected(text.c_str())))
        __builtin_trap();

    const std::vector<CDCommand> sent = AsTheEngineSendsIt(command);
    const bool carried = std::any_of(sent.begin(), sent.end(), [&](CDCommand c) { return Same(c, command); });
    const bool known = std::none_of(sent.begin(), sent.end(), [](CDCommand c) { return c.kind == CDCommandKind::Unknown; });
    if (command.kind != CDCommandKind::Unknown && !(carried && known))
        __builtin_trap();

    CheckSpan(in, command.kind == CDCommandKind::Play ? command.position : in.ConsumeIntegral<uint32_t>());
    return 0;
}
