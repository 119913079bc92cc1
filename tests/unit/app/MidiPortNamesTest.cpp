#include "app/MidiPortNames.h"

#include <gtest/gtest.h>

TEST(MidiPortNames, AStoredNameFindsItsPortExactlyElseWithoutTheTrailingClientColonPort)
{
    const std::vector<std::string> names = {"Box 28:0", "Box 24:0", "off", "system:midi_capture_1"};
    const std::pair<const char*, std::optional<std::size_t>> cases[] = {
        {"Box 24:0", 1},
        {"Box 20:0", 0}, // renumbered: the first such port
        {"Box", 0},
        {"box 28:0", std::nullopt}, // letter case counts
        {"off", std::nullopt},
        {"system:midi_capture_1", 3},
        {"Box 24:", std::nullopt},
        {"Box24:0", std::nullopt}, // no space or no port number
    };
    for (const auto& [stored, found] : cases)
        EXPECT_EQ(FindMidiPort(names, stored), found) << stored;
    EXPECT_EQ(WithoutClientPortNumbers(" 24:0"), "");
    EXPECT_EQ(WithoutClientPortNumbers("24:0"), "24:0");
}
