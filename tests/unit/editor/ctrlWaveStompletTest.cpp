#include "editor/ctrlWaveStomplet.h"

#include "core/ManualTimerBackend.h"

#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

namespace
{
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
        EXPECT_TRUE(param->Stepped());
        EXPECT_EQ(param->GetDefault(), 0.0);
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
                EXPECT_EQ(param->GetDisplay(static_cast<double>(value)), expected.labels[value]);
        }
    }
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

TEST(DeviceTimer, EditorsShareOneHundredMillisecondTimerAndEitherDestructionReleasesIt)
{
    ManualTimerBackend backend;
    auto first = std::make_unique<ctrlWaveStomplet>();
    const Timer* shared = ctrlWaveStomplet::DeviceTimer();
    ASSERT_NE(shared, nullptr);
    EXPECT_TRUE(shared->Running());
    EXPECT_EQ(shared->PeriodMs(), 100u);
    EXPECT_EQ(backend.RunningTimers(), 2); // the application tick and the device timer
    auto second = std::make_unique<ctrlWaveStomplet>();
    EXPECT_EQ(ctrlWaveStomplet::DeviceTimer(), shared);
    EXPECT_EQ(backend.RunningTimers(), 3); // two application ticks, one device timer
    first.reset();
    EXPECT_EQ(ctrlWaveStomplet::DeviceTimer(), nullptr);
    EXPECT_EQ(backend.RunningTimers(), 1);
    backend.Advance(500); // the remaining editor's ticks run without the released timer
    second.reset();
    EXPECT_EQ(backend.RunningTimers(), 0);
    ctrlWaveStomplet third;
    ASSERT_NE(ctrlWaveStomplet::DeviceTimer(), nullptr);
    EXPECT_TRUE(ctrlWaveStomplet::DeviceTimer()->Running());
}
