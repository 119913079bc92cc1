#include "device/PresetFile.h"
#include "support/EditorBench.h"
#include "support/TempFolder.h"
#include "ui/ControlTags.h"

#include <gtest/gtest.h>

using editor_bench::Bytes;
using editor_bench::EditorBench;
using editor_bench::kStatusRequest;
using editor_bench::Values;
using editor_bench::WriteValue;

namespace editor_device_test
{
// Jack 1 holds note and program switches on channel 10, jack 2 a pedal on CC 7.
Values BoxSettings()
{
    Values values{};
    values[kJack1Mode] = 1;
    values[kPedal2Controller] = 7;
    values[kSwitchA1Function] = kSwitchFunctionNoteOnOff;
    values[kSwitchA1Channel] = 9;
    values[kSwitchA1Controller] = 60;
    values[kSwitchB1Function] = kSwitchFunctionProgramChange;
    values[kSwitchB1Channel] = 9;
    values[kPedal1CalibrationLow] = 64;
    values[kPedal1CalibrationHigh] = 127;
    return values;
}

// A status check the box answers twice: reply, confirming request, confirming reply.
void ConfirmedCheck(EditorBench& bench, const Values& values)
{
    bench.Reply(values);
    bench.Ticks(1);
    bench.Reply(values);
    bench.Ticks(1);
}
} // namespace editor_device_test

using namespace editor_device_test;

TEST(DeviceStatus, SecondReplyBeforeTheThirdDeviceTickMeansInterfaceMode)
{
    EditorBench bench;
    bench.editor.OnMidiOutputPortSelected("Korvo-Audio ctrlWave Stomplet 1");
    EXPECT_EQ(bench.Text(kCtrlTagDeviceText1), "DEVICE: Korvo-Audio ctrlWave Stomplet 1");
    EXPECT_EQ(bench.port.sent, std::vector<Bytes>{kStatusRequest});

    bench.Reply(BoxSettings());
    bench.Ticks(1); // t = 20 ms: applied, confirmation requested
    EXPECT_EQ(bench.port.sent, (std::vector<Bytes>{kStatusRequest, kStatusRequest}));
    EXPECT_EQ(bench.Text(kCtrlTagDeviceText1), "DEVICE: Korvo-Audio ctrlWave Stomplet");
    EXPECT_FALSE(bench.editor.DeviceModeKnown());
    bench.Ticks(13); // t = 280 ms, after the device ticks at 100 and 200 ms
    bench.Reply(BoxSettings());
    bench.Ticks(1); // t = 300 ms: handled just before the third device tick
    EXPECT_EQ(bench.Text(kCtrlTagDeviceText3), "STATE: Interface Mode");
    EXPECT_TRUE(bench.Tagged(kCtrlTagStandaloneNotice).IsHidden());
    EXPECT_TRUE(bench.editor.DeviceModeKnown());
    bench.Ticks(50);
    EXPECT_EQ(bench.port.sent.size(), 2u); // the confirmation is not applied again
}

TEST(DeviceStatus, UnansweredConfirmationMeansStandaloneModeUntilALaterCheckIsConfirmed)
{
    EditorBench bench;
    bench.Reply(BoxSettings());
    bench.Ticks(14);
    EXPECT_EQ(bench.Text(kCtrlTagDeviceText3), "");
    bench.Ticks(1);
    EXPECT_EQ(bench.Text(kCtrlTagDeviceText3), "STATE: Standalone Mode");
    EXPECT_FALSE(bench.Tagged(kCtrlTagStandaloneNotice).IsHidden());
    EXPECT_TRUE(bench.editor.DeviceModeKnown());

    bench.editor.OnResetAll();
    ConfirmedCheck(bench, BoxSettings());
    EXPECT_EQ(bench.Text(kCtrlTagDeviceText3), "STATE: Interface Mode");
    EXPECT_TRUE(bench.Tagged(kCtrlTagStandaloneNotice).IsHidden());
}

TEST(DeviceStatus, PortAnnouncementEndsTheCheckAndInheritsNoMode)
{
    EditorBench bench;
    bench.Reply(BoxSettings());
    bench.Ticks(15);
    bench.port.sent.clear();
    bench.editor.OnMidiOutputPortSelected("off");
    EXPECT_EQ(bench.Text(kCtrlTagDeviceText1) + "|" + bench.Text(kCtrlTagDeviceText2) + "|" +
                  bench.Text(kCtrlTagDeviceText3),
              "DEVICE: off||");
    EXPECT_TRUE(bench.Tagged(kCtrlTagStandaloneNotice).IsHidden());
    EXPECT_FALSE(bench.editor.DeviceModeKnown());
    // Mended: a screenshot with no port waited its whole deadline for an answer.
    EXPECT_TRUE(bench.editor.StartupSettled()) << "no port: nothing can answer";
    bench.editor.OnMidiOutputPortSelected("Korvo-Audio ctrlWave Stompl");
    EXPECT_TRUE(bench.port.sent.empty());
    EXPECT_FALSE(bench.editor.StartupSettled());

    bench.Reply(BoxSettings()); // a check under way when another port is announced
    bench.Ticks(1);
    bench.editor.OnMidiOutputPortSelected("Korvo-Audio ctrlWave Stomplet");
    EXPECT_FALSE(bench.editor.mModeCheck.Awaiting());
    bench.Ticks(50);
    EXPECT_EQ(bench.Text(kCtrlTagDeviceText3), "");
    EXPECT_FALSE(bench.editor.StartupSettled());
    bench.Reply(BoxSettings(), 9);
    bench.Ticks(1);
    EXPECT_TRUE(bench.editor.StartupSettled()) << "a box refused for its version answers no more";
}

TEST(DeviceStatus, VersionsOutsideOneToTenAreRefusedWithAMessageThatDoesNotBlock)
{
    struct Case
    {
        std::uint8_t version;
        const char* line2;
        const char* message; // empty: accepted
    };
    const Case cases[] = {
        {9, "VERSION: 0.9", "Please upgrade Stomplet to actual version 10."},
        {10, "VERSION: 1.0", ""},
        {109, "VERSION: 10.9", ""},
        {110, "VERSION: 11.0",
         "Editor version out of date. Please download the most recent version."},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.line2);
        EditorBench bench;
        bench.Reply(BoxSettings(), c.version);
        bench.Ticks(1);
        const bool accepted = std::string(c.message).empty();
        EXPECT_EQ(bench.Text(kCtrlTagDeviceText2), c.line2);
        EXPECT_EQ(bench.editor.GetParam(kJack1Mode)->Int(), accepted ? 1 : 0);
        EXPECT_EQ(bench.editor.mUIReady, accepted);
        EXPECT_EQ(bench.port.sent.size(), accepted ? 1u : 0u);
        bench.Ticks(20); // ticks go on while the box waits for its OK
        ASSERT_EQ(bench.platform.MessageBoxes().size(), accepted ? 0u : 1u);
        if (!accepted)
        {
            EXPECT_EQ(bench.platform.MessageBoxes()[0].text, c.message);
            EXPECT_EQ(bench.platform.MessageBoxes()[0].caption, "");
            EXPECT_EQ(bench.platform.PendingMessageBoxes(), 1);
        }
    }
}

TEST(ReceivedSettings, ReplySetsValuesLabelsAndSummariesAndNothingGoesBack)
{
    EditorBench bench;
    bench.Edit(kPedal2Controller, 99); // still pending when the reply arrives
    bench.Reply(BoxSettings());
    bench.Ticks(1);
    EXPECT_EQ(bench.editor.GetParam(kPedal2Controller)->Int(), 7);
    EXPECT_EQ(bench.Label(kCtrlTagPedal1CalibrateLow), "Calibration Low End: 50.4%");
    EXPECT_EQ(bench.Label(kCtrlTagPedal1CalibrateHigh), "Calibration High End: 100.0%");
    EXPECT_EQ(bench.Label(kCtrlTagPedal2CalibrateLow), "Calibration Low End: 0.0%");
    EXPECT_EQ(bench.Text(kCtrlTagJack1SwitchALine1), "CH 10 NOTE C3");
    EXPECT_EQ(bench.Text(kCtrlTagJack1SwitchBLine1), "CH 10 PRG. CHANG");
    EXPECT_EQ(bench.Text(kCtrlTagJack2PedalLine2), "MIDI Volume");
    EXPECT_EQ(bench.GroupState(kGroupJack1Switch), "shown");
    bench.Ticks(100);
    EXPECT_EQ(bench.port.sent, std::vector<Bytes>{kStatusRequest}); // the confirming request only
}

TEST(ReceivedSettings, ReplyIsUnsavedOnlyWhereItDiffersFromThePresetOutsideCalibration)
{
    EditorBench bench;
    Values values = BoxSettings();
    const testfiles::TempFolder folder;
    ASSERT_FALSE(WritePresetFile(folder.Path() / "box.csx", values));
    bench.editor.LoadPreset((folder.Path() / "box.csx").string());
    bench.editor.OnParamChange(kPedal1Controller); // an edit: unsaved
    ASSERT_TRUE(bench.editor.PresetModified());
    values[kPedal1CalibrationLow] = 3;
    ConfirmedCheck(bench, values);
    EXPECT_FALSE(bench.editor.PresetModified());

    bench.editor.OnResetAll();
    values[kJack1Mode] = 0x7F; // clamps to 1, but the byte as received differs
    ConfirmedCheck(bench, values);
    EXPECT_TRUE(bench.editor.PresetModified());
}

TEST(BoxRequests, ReplyToACalibrationDuringACheckIsAppliedNotTakenAsConfirmation)
{
    EditorBench bench;
    bench.Reply(BoxSettings());
    bench.Ticks(1);
    bench.editor.OnCalibrate(kPedal1CalibrationLow);
    Values calibrated = BoxSettings();
    calibrated[kPedal1CalibrationLow] = 127;
    bench.Reply(calibrated);
    bench.Ticks(1);
    EXPECT_EQ(bench.Label(kCtrlTagPedal1CalibrateLow), "Calibration Low End: 100.0%");
    EXPECT_TRUE(bench.editor.mModeCheck.Awaiting());
}
