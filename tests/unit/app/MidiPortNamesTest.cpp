#include "app/MidiPortNames.h"

#include <gtest/gtest.h>

TEST(MidiPortNames, OnlyATrailingSpaceClientColonPortIsLeftOut)
{
    EXPECT_EQ(WithoutClientPortNumbers("Stomplet:Stomplet MIDI 1 24:0"),
              "Stomplet:Stomplet MIDI 1");
    EXPECT_EQ(WithoutClientPortNumbers("system:midi_capture_1"), "system:midi_capture_1");
    EXPECT_EQ(WithoutClientPortNumbers("Box 24:"), "Box 24:");
    EXPECT_EQ(WithoutClientPortNumbers("Box24:0"), "Box24:0");
    EXPECT_EQ(WithoutClientPortNumbers(" 24:0"), "");
    EXPECT_EQ(WithoutClientPortNumbers("24:0"), "24:0");
}

TEST(MidiPortNames, AnExactNameWinsOverOneThatMatchesOnlyWithoutNumbers)
{
    const std::vector<std::string> names = {"Box 28:0", "Box 24:0"};
    EXPECT_EQ(FindMidiPort(names, "Box 24:0"), 1u);
    EXPECT_EQ(FindMidiPort(names, "Box 20:0"), 0u); // renumbered: the first such port
    EXPECT_EQ(FindMidiPort(names, "Box"), 0u);
}

TEST(MidiPortNames, LetterCaseAndOffNeverMatch)
{
    const std::vector<std::string> names = {"Box 28:0", "off"};
    EXPECT_FALSE(FindMidiPort(names, "box 28:0"));
    EXPECT_FALSE(FindMidiPort(names, "off"));
    EXPECT_FALSE(FindMidiPort({}, "Box 28:0"));
}
