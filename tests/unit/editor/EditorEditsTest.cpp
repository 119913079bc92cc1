#include "support/EditorBench.h"
#include "ui/ControlTags.h"

#include <gtest/gtest.h>

using editor_bench::Bytes;
using editor_bench::EditorBench;
using editor_bench::WriteValue;

TEST(SendingEdits, TurnedControlSendsOnlyItsFinalValueOnceItHasRested)
{
    EditorBench bench;
    for (int value = 10; value <= 20; ++value)
    {
        bench.Edit(kPedal1Controller, value);
        bench.Ticks(1);
    }
    bench.Ticks(18);
    EXPECT_TRUE(bench.port.sent.empty()); // moved within the last window
    bench.Ticks(40);
    EXPECT_EQ(bench.port.sent, std::vector<Bytes>{WriteValue(0x17, 20)});
    EXPECT_TRUE(bench.editor.PresetModified());

    bench.Ticks(7);
    bench.Edit(kSwitchA2Controller, 64); // a single edit goes out on its twentieth tick
    bench.Ticks(19);
    EXPECT_EQ(bench.port.sent.size(), 1u);
    bench.Ticks(1);
    EXPECT_EQ(bench.port.sent.back(), WriteValue(0x0E, 64));
}

TEST(SendingEdits, EditOfAnotherSettingSendsThePendingOneAtOnceAndWaitsItsOwnWindow)
{
    EditorBench bench;
    bench.Edit(kPedal1Controller, 5);
    bench.Ticks(10);
    bench.Edit(kPedal2Controller, 9);
    EXPECT_EQ(bench.port.sent, std::vector<Bytes>{WriteValue(0x17, 5)});
    bench.Ticks(19);
    EXPECT_EQ(bench.port.sent.size(), 1u);
    bench.Ticks(1);
    EXPECT_EQ(bench.port.sent.back(), WriteValue(0x06, 9));
}

TEST(SendingEdits, CalibrationSettingsAndEditsWhileNotReadyAreNeverSent)
{
    EditorBench bench;
    for (int idx : {kPedal1CalibrationLow, kPedal1CalibrationHigh, kPedal2CalibrationLow,
                    kPedal2CalibrationHigh})
        bench.Edit(idx, 33);
    EditorBench noScreen(false); // never ready
    noScreen.Edit(kJack1Mode, 1);
    bench.Ticks(60);
    EXPECT_TRUE(bench.port.sent.empty());
    EXPECT_FALSE(bench.editor.PresetModified());
    EXPECT_TRUE(noScreen.port.sent.empty());
}

TEST(JackScreen, JackModeSwapsItsDisplayGreysItsPolarityAndRebuildsWhatItShows)
{
    EditorBench bench;
    bench.Edit(kSwitchA1Function, kSwitchFunctionNoteOnOff);
    bench.Edit(kSwitchA1Controller, 60);
    bench.Edit(kJack1Mode, kJackModeSwitches);
    EXPECT_EQ(bench.GroupState(kGroupJack1Switch), "shown");
    EXPECT_NE(bench.GroupState(kGroupJack1Pedal), "shown");
    EXPECT_EQ(bench.BoundState(kJack1Polarity), "disabled");
    EXPECT_NE(bench.BoundState(kJack2Polarity), "disabled");
    EXPECT_EQ(bench.Text(kCtrlTagJack1SwitchALine1), "CH 1 NOTE C3");
    EXPECT_EQ(bench.Text(kCtrlTagJack1SwitchBLine2), "Bank Select");

    bench.Edit(kPedal1Controller, 11);
    EXPECT_EQ(bench.Text(kCtrlTagJack1PedalLine1), ""); // not shown, not rebuilt
    bench.Edit(kJack1Mode, kJackModePedal);
    EXPECT_EQ(bench.GroupState(kGroupJack1Pedal), "shown");
    EXPECT_NE(bench.BoundState(kJack1Polarity), "disabled");
    EXPECT_EQ(bench.Text(kCtrlTagJack1PedalLine2), "Expression Pedal");
}
