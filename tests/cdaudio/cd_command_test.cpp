#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "audio/cdaudio.h"
#include "audio/cdio/cd_command.h"

// The engine's CD operations, recorded at the command seam, and the Linux
// layer's parser reading the same strings back.
static std::vector<std::string> Sent;

void SendCDCommand(const char* command)
{
    Sent.push_back(command);
}

namespace {

TEST(CDCommands, OperationsSendTheWrittenStringsAndTheParserReadsThemBack)
{
    Sent.clear();
    OpenCD();
    PlayCD(3);
    PlayCD(0xFFFFFFFFu);
    StopCD();
    CloseCD(); // stops first even when nothing plays
    CloseCD();
    using K = CDCommandKind;
    const struct {
        const char* text;
        CDCommandKind kind;
        uint32_t position;
    } expected[] = {
        {"open cdaudio", K::Open, 0},
        {"set cdaudio time format tmsf", K::SetTimeFormatTmsf, 0},
        {"seek cdaudio to 3", K::Seek, 3},
        {"play cdaudio from 3", K::Play, 3},
        {"seek cdaudio to 4294967295", K::Seek, 0xFFFFFFFFu},
        {"play cdaudio from 4294967295", K::Play, 0xFFFFFFFFu},
        {"stop cdaudio", K::Stop, 0},
        {"stop cdaudio", K::Stop, 0},
        {"close cdaudio", K::Close, 0},
        {"stop cdaudio", K::Stop, 0},
        {"close cdaudio", K::Close, 0},
    };
    ASSERT_EQ(Sent.size(), std::size(expected));
    for (size_t i = 0; i < Sent.size(); i++) {
        EXPECT_EQ(Sent[i], expected[i].text);
        const CDCommand read = ParseCDCommand(Sent[i].c_str());
        EXPECT_EQ(read.kind, expected[i].kind) << Sent[i];
        EXPECT_EQ(read.position, expected[i].position) << Sent[i];
    }
}

} // namespace
