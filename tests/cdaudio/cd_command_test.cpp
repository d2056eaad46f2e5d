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

TEST(CDCommands, OperationsSendTheWrittenStringsInOrder)
{
    Sent.clear();
    OpenCD();
    PlayCD(3);
    StopCD();
    CloseCD();
    const std::vector<std::string> expected{
        "open cdaudio",     "set cdaudio time format tmsf", "seek cdaudio to 3", "play cdaudio from 3",
        "stop cdaudio",     "stop cdaudio",                 "close cdaudio",
    };
    EXPECT_EQ(Sent, expected);

    // Closing stops first even when nothing plays.
    Sent.clear();
    CloseCD();
    EXPECT_EQ(Sent, (std::vector<std::string>{"stop cdaudio", "close cdaudio"}));
}

TEST(CDCommands, EverySentStringIsUnderstoodWithItsPosition)
{
    for (const uint32_t position : {0u, 2u, 0x05040302u, 4294967295u}) {
        Sent.clear();
        PlayCD(position);
        ASSERT_EQ(Sent.size(), 2u);
        const CDCommand seek = ParseCDCommand(Sent[0].c_str());
        const CDCommand play = ParseCDCommand(Sent[1].c_str());
        EXPECT_EQ(seek.kind, CDCommandKind::Seek) << Sent[0];
        EXPECT_EQ(seek.position, position);
        EXPECT_EQ(play.kind, CDCommandKind::Play) << Sent[1];
        EXPECT_EQ(play.position, position);
    }
    EXPECT_EQ(Sent[1], "play cdaudio from 4294967295");

    Sent.clear();
    OpenCD();
    StopCD();
    CloseCD();
    const CDCommandKind kinds[] = {CDCommandKind::Open, CDCommandKind::SetTimeFormatTmsf, CDCommandKind::Stop,
                                   CDCommandKind::Stop, CDCommandKind::Close};
    ASSERT_EQ(Sent.size(), std::size(kinds));
    for (size_t i = 0; i < Sent.size(); i++)
        EXPECT_EQ(ParseCDCommand(Sent[i].c_str()).kind, kinds[i]) << Sent[i];
}

TEST(CDCommands, AnythingElseIsUnknown)
{
    const char* const others[] = {
        "",
        "open cdaudio ",
        " open cdaudio",
        "Open cdaudio",
        "open  cdaudio",
        "open cdaudio alias cd",
        "set cdaudio time format msf",
        "pause cdaudio",
        "status cdaudio mode",
        "seek cdaudio to ",
        "seek cdaudio to",
        "seek cdaudio to -1",
        "seek cdaudio to +3",
        "seek cdaudio to 3 ",
        "seek cdaudio to 3x",
        "seek cdaudio to 0x10",
        "seek cdaudio to 4294967296",
        "play cdaudio from 99999999999999999999999",
        "play cdaudio 3",
        "play cdaudio from 1 to 2",
    };
    for (const char* text : others)
        EXPECT_EQ(ParseCDCommand(text).kind, CDCommandKind::Unknown) << '"' << text << '"';
}

} // namespace
