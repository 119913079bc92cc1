#include "editor/ctrlWaveStomplet.h"

#include "core/ManualTimerBackend.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace
{
// Exposes the shared fields for inspection.
class EditorProbe : public ctrlWaveStomplet
{
public:
    using ctrlWaveStomplet::mAudition;
    using ctrlWaveStomplet::mCheckParam;
    using ctrlWaveStomplet::mCheckValue;
    using ctrlWaveStomplet::mDeferredMessage;
    using ctrlWaveStomplet::mIdleTicks;
    using ctrlWaveStomplet::mPendingParam;
    using ctrlWaveStomplet::mPendingValue;
    using ctrlWaveStomplet::mPresetDirty;
    using ctrlWaveStomplet::mPresetValues;
    using ctrlWaveStomplet::mShowDeferredMessage;
    using ctrlWaveStomplet::mSlotMsgs;
    using ctrlWaveStomplet::mUIReady;
};

using Labels = std::vector<std::string>;

const Labels kJackMode{"Pedal", "Switches"};
const Labels kPolarity{"Tip", "Ring"};
const Labels kChannel{"1", "2",  "3",  "4",  "5",  "6",  "7",  "8",
                      "9", "10", "11", "12", "13", "14", "15", "16"};
const Labels kPedalMode{"Control", "Aftertouch", "Bend"};
const Labels kOperation{"Momentary", "Latching"};
const Labels kFunction{"Control",        "Note On/Off",     "Start", "Stop",
                       "Program Change", "Special Control", "Pedal"};
const Labels kNumber{}; // Integer 0 to 127

struct Expected
{
    int index;
    const char* name;
    const Labels& labels;
};

// The device's settings as the box's owner knows them, jack 2 first.
const std::vector<Expected> kTable{
    {0, "JACK2 Mode", kJackMode},
    {1, "JACK 2 Polarity", kPolarity},
    {2, "JACK 1 Mode", kJackMode},
    {3, "JACK 1 Polarity", kPolarity},
    {4, "PEDAL2 Midi Channel", kChannel},
    {5, "PEDAL2 Mode", kPedalMode},
    {6, "PEDAL2 Controller", kNumber},
    {7, "PEDAL2 Out Minimum", kNumber},
    {8, "PEDAL2 Out Maximum", kNumber},
    {9, "PEDAL2 Calibration Low End", kNumber},
    {10, "PEDAL2 Calibration High End", kNumber},
    {11, "SWITCHA2 Midi Channel", kChannel},
    {12, "SWITCHA2 Operation", kOperation},
    {13, "SWITCHA2 Function Mode", kFunction},
    {14, "SWITCHA2 Controller", kNumber},
    {15, "SWITCHB2 Midi Channel", kChannel},
    {16, "SWITCHB2 Operation", kOperation},
    {17, "SWITCHB2 Function Mode", kFunction},
    {18, "SWITCHB2 Controller", kNumber},
    {19, "SWITCH2 Special Ctrl Lower", kNumber},
    {20, "SWITCH2 Special Ctrl Upper", kNumber},
    {21, "PEDAL1 Midi Channel", kChannel},
    {22, "PEDAL1 Mode", kPedalMode},
    {23, "PEDAL1 Controller", kNumber},
    {24, "PEDAL1 Out Minimum", kNumber},
    {25, "PEDAL1 Out Maximum", kNumber},
    {26, "PEDAL1 Calibration Low End", kNumber},
    {27, "PEDAL1 Calibration High End", kNumber},
    {28, "SWITCHA1 Midi Channel", kChannel},
    {29, "SWITCHA1 Operation", kOperation},
    {30, "SWITCHA1 Function Mode", kFunction},
    {31, "SWITCHA1 Controller", kNumber},
    {32, "SWITCHB1 Midi Channel", kChannel},
    {33, "SWITCHB1 Operation", kOperation},
    {34, "SWITCHB1 Function Mode", kFunction},
    {35, "SWITCHB1 Controller", kNumber},
    {36, "SWITCH1 Special Ctrl Lower", kNumber},
    {37, "SWITCH1 Special Ctrl Upper", kNumber},
};

// The display text of each setting of a fresh editor, in index order.
const std::vector<std::string> kFreshDisplay{
    "Pedal", "Tip",       "Pedal",   "Tip",                // jacks
    "1",     "Control",   "0",       "0",   "0", "0", "0", // pedal 2
    "1",     "Momentary", "Control", "0",                  // switch A 2
    "1",     "Momentary", "Control", "0",                  // switch B 2
    "0",     "0",                                          // special 2
    "1",     "Control",   "0",       "0",   "0", "0", "0", // pedal 1
    "1",     "Momentary", "Control", "0",                  // switch A 1
    "1",     "Momentary", "Control", "0",                  // switch B 1
    "0",     "0",                                          // special 1
};
} // namespace

TEST(EditorParameters, TableMatchesTheDeviceSettingByIndex)
{
    ctrlWaveStomplet editor;
    ASSERT_EQ(editor.NParams(), 38);
    ASSERT_EQ(kTable.size(), 38u);
    for (const Expected& expected : kTable)
    {
        SCOPED_TRACE(expected.name);
        const IParam* param = editor.GetParam(expected.index);
        EXPECT_EQ(param->GetName(), expected.name);
        EXPECT_EQ(param->GetMin(), 0.0);
        EXPECT_EQ(param->GetStep(), 1.0);
        EXPECT_TRUE(param->Stepped());
        EXPECT_EQ(param->GetDefault(), 0.0);
        EXPECT_EQ(param->GetGroup(), "");
        EXPECT_EQ(param->GetLabel(), "");
        if (expected.labels.empty())
        {
            EXPECT_EQ(param->Type(), IParam::kTypeInt);
            EXPECT_EQ(param->GetMax(), 127.0);
            EXPECT_EQ(param->NDisplayTexts(), 0);
            EXPECT_EQ(param->GetDisplay(64.0), "64");
        }
        else
        {
            EXPECT_EQ(param->Type(), IParam::kTypeEnum);
            const int count = static_cast<int>(expected.labels.size());
            EXPECT_EQ(param->GetMax(), count - 1.0);
            ASSERT_EQ(param->NDisplayTexts(), count);
            for (int value = 0; value < count; ++value)
            {
                EXPECT_EQ(param->GetDisplayTextValue(value), value);
                EXPECT_EQ(param->GetDisplayText(value), expected.labels[value]);
                EXPECT_EQ(param->GetDisplay(static_cast<double>(value)), expected.labels[value]);
            }
        }
    }
}

TEST(EditorParameters, FreshEditorHasEverySettingAtZeroWithItsFirstText)
{
    ctrlWaveStomplet editor;
    ASSERT_EQ(kFreshDisplay.size(), 38u);
    for (int idx = 0; idx < 38; ++idx)
    {
        EXPECT_EQ(editor.GetParam(idx)->Value(), 0.0) << idx;
        EXPECT_EQ(editor.GetParam(idx)->GetDisplay(), kFreshDisplay[idx]) << idx;
    }
}

TEST(EditorParameters, PedalControllersSitSeventeenApartWithJack2First)
{
    ctrlWaveStomplet editor;
    EXPECT_EQ(editor.GetParam(kPedal2Controller)->GetName(), "PEDAL2 Controller");
    EXPECT_EQ(editor.GetParam(kPedal1Controller)->GetName(), "PEDAL1 Controller");
    EXPECT_EQ(kPedal2Controller, 6);
    EXPECT_EQ(kPedal1Controller, 23);
}

TEST(EditorParameters, ValuesStayWithinTheirRangeAndFitADataByte)
{
    ctrlWaveStomplet editor;
    editor.GetParam(kSwitchA1Channel)->Set(40.0);
    editor.GetParam(kSwitchA1Function)->Set(-3.0);
    editor.GetParam(kPedal1OutMaximum)->Set(200.0);
    EXPECT_EQ(editor.GetParam(kSwitchA1Channel)->GetDisplay(), "16");
    EXPECT_EQ(editor.GetParam(kSwitchA1Function)->GetDisplay(), "Control");
    EXPECT_EQ(editor.GetParam(kPedal1OutMaximum)->Int(), 127);
}

TEST(EditorFields, FreshEditorStartsNotReadyWithNothingPending)
{
    EditorProbe editor;
    EXPECT_FALSE(editor.mUIReady);
    EXPECT_FALSE(editor.mShowDeferredMessage);
    EXPECT_TRUE(editor.mDeferredMessage.empty());
    EXPECT_EQ(editor.mIdleTicks, 0);
    EXPECT_EQ(editor.mPendingParam, -1);
    EXPECT_FALSE(editor.mAudition.load());
    EXPECT_FALSE(editor.mPresetDirty);
    for (const MidiMessage& msg : editor.mSlotMsgs)
        EXPECT_EQ(msg, MidiMessage{});
    for (int value : editor.mPresetValues)
        EXPECT_EQ(value, 0);
}

TEST(AssignmentSlots, SlotsNameTheirJackAndSettings)
{
    struct Row
    {
        int jack, channel, kind, number, operation;
    };
    const Row rows[] = {
        {1, 21, 22, 23, -1}, // PEDAL 1
        {2, 4, 5, 6, -1},    // PEDAL 2
        {1, 28, 30, 31, 29}, // SWITCH A 1
        {1, 32, 34, 35, 33}, // SWITCH B 1
        {2, 11, 13, 14, 12}, // SWITCH A 2
        {2, 15, 17, 18, 16}, // SWITCH B 2
    };
    ASSERT_EQ(kAssignmentSlots.size(), 6u);
    for (std::size_t slot = 0; slot < 6; ++slot)
    {
        SCOPED_TRACE(slot);
        EXPECT_EQ(kAssignmentSlots[slot].jack, rows[slot].jack);
        EXPECT_EQ(kAssignmentSlots[slot].channelParam, rows[slot].channel);
        EXPECT_EQ(kAssignmentSlots[slot].kindParam, rows[slot].kind);
        EXPECT_EQ(kAssignmentSlots[slot].numberParam, rows[slot].number);
        EXPECT_EQ(kAssignmentSlots[slot].operationParam, rows[slot].operation);
        EXPECT_EQ(kAssignmentSlots[slot].IsPedal(), slot < 2);
    }
}

TEST(DeviceTimer, EditorStartsOneHundredMillisecondTimer)
{
    ManualTimerBackend backend;
    {
        ctrlWaveStomplet editor;
        ASSERT_NE(ctrlWaveStomplet::DeviceTimer(), nullptr);
        EXPECT_TRUE(ctrlWaveStomplet::DeviceTimer()->Running());
        EXPECT_EQ(ctrlWaveStomplet::DeviceTimer()->PeriodMs(), 100u);
        EXPECT_EQ(backend.RunningTimers(), 2); // the application tick and the device timer
        backend.Advance(1000);
    }
    EXPECT_EQ(ctrlWaveStomplet::DeviceTimer(), nullptr);
    EXPECT_EQ(backend.RunningTimers(), 0);
}

TEST(DeviceTimer, SecondEditorSharesTheTimerAndEitherDestructionReleasesIt)
{
    ManualTimerBackend backend;
    auto first = std::make_unique<ctrlWaveStomplet>();
    const Timer* shared = ctrlWaveStomplet::DeviceTimer();
    auto second = std::make_unique<ctrlWaveStomplet>();
    EXPECT_EQ(ctrlWaveStomplet::DeviceTimer(), shared);
    EXPECT_EQ(backend.RunningTimers(), 3); // two application ticks, one device timer

    first.reset();
    EXPECT_EQ(ctrlWaveStomplet::DeviceTimer(), nullptr);
    EXPECT_EQ(backend.RunningTimers(), 1);
    backend.Advance(500); // the remaining editor's ticks run without the released timer
    second.reset();

    ctrlWaveStomplet third;
    ASSERT_NE(ctrlWaveStomplet::DeviceTimer(), nullptr);
    EXPECT_TRUE(ctrlWaveStomplet::DeviceTimer()->Running());
}
