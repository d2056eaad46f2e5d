#include <gtest/gtest.h>

#include <string>

#include "content/content_test_util.h"
#include "demo/letter_text.h"

namespace {

TEST(LetterText, SpellsTheMessageWithTheLetterPicturesInSlotOrder)
{
    // Letter file names from slot 101 on; the first character names the letter.
    std::vector<ManifestEntry> manifest = ShowManifest();
    std::string text;
    for (uint8_t cell : LetterText) {
        ASSERT_LE(cell, 27);
        text += cell == 0 ? ' ' : manifest[manifest.size() - 27 + cell - 1].name[6];
    }
    EXPECT_EQ(text, " Made in code  Sound and colour  Pure demo spirit ");
}

} // namespace
