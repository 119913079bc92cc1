#include "sim/VirtualStomplet.h"

#include "device/SeptetPacking.h"
#include "device/SysExMessages.h"

#include <algorithm>
#include <cstdint>
#include <gtest/gtest.h>
#include <random>
#include <vector>

namespace
{
using Bytes = std::vector<std::uint8_t>;
using Values = std::array<std::uint8_t, 38>;

Bytes Block(const Bytes& data)
{
    const auto block = *BuildFirmwareBlock(*PackFirmwareBlock(data));
    return Bytes(block.bytes.begin(), block.bytes.end());
}
} // namespace

TEST(VirtualStompletStatus, ReplyCarriesBoxBytesVersionAndSettingsAndStandaloneLeavesConfirmations)
{
    VirtualStomplet box;
    ASSERT_TRUE(box.SetBoxData({0x05, 0x06, 0x07, 0x08}));
    ASSERT_TRUE(box.SetFirmwareVersion(0x6D));
    EXPECT_FALSE(box.SetFirmwareVersion(0x80)); // bytes above 7F are refused
    EXPECT_FALSE(box.SetBoxData({0x00, 0x80, 0x00, 0x00}));
    const auto replies = box.ReceiveSysEx(BuildStatusRequest().bytes, 1000);
    ASSERT_EQ(replies.size(), 1u);
    Bytes expected{0xF0, 0x00, 0x3F, 0x5A, 0x04, 0x01, // start, manufacturer, model, reply
                   0x05, 0x06, 0x07, 0x08,             // box bytes
                   0x6D};                              // version 10.9
    const auto factory = VirtualStomplet::FactorySettings();
    expected.insert(expected.end(), factory.begin(), factory.end());
    expected.push_back(0xF7);
    EXPECT_EQ(replies[0], expected);
    EXPECT_EQ(box.ReceiveSysEx(BuildStatusRequest().bytes, 1002),
              replies); // Interface Mode confirms

    box.SetStandalone(true); // a confirmation within 300 ms goes unanswered
    EXPECT_EQ(box.ReceiveSysEx(BuildStatusRequest().bytes, 5000).size(), 1u);
    EXPECT_TRUE(box.ReceiveSysEx(BuildStatusRequest().bytes, 5299).empty());
    EXPECT_EQ(box.ReceiveSysEx(BuildStatusRequest().bytes, 5300).size(), 1u); // the next exchange
    EXPECT_TRUE(box.ReceiveSysEx(BuildStatusRequest().bytes, 5301).empty());
}

TEST(VirtualStompletSettings, EditsPresetResetAndCalibrationChangeTheSettings)
{
    VirtualStomplet box;
    EXPECT_TRUE(box.ReceiveSysEx(BuildSingleSetting(kSwitchA1Channel, 9)->bytes, 0).empty());
    box.ReceiveSysEx(BuildSingleSetting(kPedal1Channel, 0x7F)->bytes, 0); // clamps to the range
    box.ReceiveSysEx(BuildSingleSetting(kSwitchB2Function, 9)->bytes, 0);
    EXPECT_EQ(box.CurrentSettings()[kSwitchA1Channel], 9);
    EXPECT_EQ(box.CurrentSettings()[kPedal1Channel], 15);
    EXPECT_EQ(box.CurrentSettings()[kSwitchB2Function], kSwitchFunctionPedal);

    Values preset; // All Settings replaces every setting, calibration included
    preset.fill(1);
    preset[kPedal1CalibrationHigh] = 100;
    EXPECT_TRUE(box.ReceiveSysEx(BuildAllSettings(preset)->bytes, 1000).empty());
    EXPECT_EQ(box.CurrentSettings(), preset);
    EXPECT_TRUE(box.ReceiveSysEx(BuildResetAllRequest().bytes, 2000).empty());
    EXPECT_EQ(box.CurrentSettings(), VirtualStomplet::FactorySettings());

    // Calibration takes the pedal's position for the named end.
    box.SetPedalPosition(VirtualStomplet::Jack::k1, 12);
    EXPECT_TRUE(
        box.ReceiveSysEx(BuildCalibrationRequest(kPedal1CalibrationLow)->bytes, 3000).empty());
    box.SetPedalPosition(VirtualStomplet::Jack::k1, 119);
    box.ReceiveSysEx(BuildCalibrationRequest(kPedal1CalibrationHigh)->bytes, 3500);
    EXPECT_EQ(box.CurrentSettings()[kPedal1CalibrationLow], 12);
    EXPECT_EQ(box.CurrentSettings()[kPedal1CalibrationHigh], 119);
    EXPECT_EQ(box.CurrentSettings()[kPedal2CalibrationHigh], 127);
}

TEST(VirtualStompletIgnores, MalformedAndForeignMessagesAreCountedAndChangeNothing)
{
    VirtualStomplet box;
    Bytes format2{0xF0, 0x00, 0x3F, 0x5A, 0x04, 0x03, 0x14}; // All Settings, format 2.0
    format2.resize(45, 0x01);
    format2.push_back(0xF7);
    const std::vector<Bytes> malformed{
        {},
        {0xF0, 0x00, 0x3F, 0x5A, 0x04, 0x02, 0x17, 0x05},       // no end byte
        {0xF0, 0x00, 0x3F, 0x5A, 0x04, 0x02, 0x17, 0x85, 0xF7}, // value not a data byte
        {0xF0, 0x00, 0x3F, 0x5A, 0x04, 0x02, 0x17, 0xF7},       // command 02 cut short
        {0xF0, 0x00, 0x3F, 0x5A, 0x04, 0x02, 0x71, 0x01, 0xF7}, // status request with a value
        {0xF0, 0x00, 0x3F, 0x5A, 0x04, 0x03, 0x0A, 0x01, 0xF7}, // All Settings cut short
        format2,
    };
    const std::vector<Bytes> foreign{
        {0xF0, 0x7E, 0x7F, 0x06, 0x01, 0xF7},                   // universal identity request
        {0xF0, 0x00, 0x3F, 0x5B, 0x04, 0x02, 0x71, 0x00, 0xF7}, // another manufacturer
        {0xF0, 0x00, 0x3F, 0x5A, 0x04, 0x02, 0x26, 0x00, 0xF7}, // address past the settings
        {0xF0, 0x00, 0x3F, 0x5A, 0x04, 0x07, 0x71, 0x00, 0xF7}, // unknown command
        {0xF0, 0x00, 0x3F, 0x5A, 0x01, 0x72, 0x00, 0xF7},       // unknown firmware command
        box.ReceiveSysEx(BuildStatusRequest().bytes, 0).at(0),  // a reply echoed back
    };
    for (const auto* list : {&malformed, &foreign})
        for (const Bytes& bytes : *list)
            EXPECT_TRUE(box.ReceiveSysEx(bytes, 1).empty()) << bytes.size() << " bytes";
    EXPECT_EQ(box.GetCounts().malformed, malformed.size());
    EXPECT_EQ(box.GetCounts().foreign, foreign.size());
    EXPECT_EQ(box.CurrentSettings(), VirtualStomplet::FactorySettings());
}

TEST(VirtualStompletFirmware,
     ImageArrivesBlockByBlockABadChecksumLeavesItsBlockErasedAndBadStartsAreIgnored)
{
    VirtualStomplet box;
    box.ReceiveSysEx(Block(Bytes(64, 0)), 0); // no start
    auto badCode = *BuildFirmwareStart(2);
    badCode.bytes[6] ^= 0x01;
    auto tooMany = *BuildFirmwareStart(16);
    tooMany.bytes[10] = 17;
    box.ReceiveSysEx(badCode.bytes, 0);
    box.ReceiveSysEx(tooMany.bytes, 0);
    box.ReceiveSysEx(BuildFirmwareStart(0)->bytes, 0); // an empty image announces no blocks
    EXPECT_EQ(box.GetCounts().malformed, 2u);
    EXPECT_FALSE(box.Firmware().open);

    Bytes image(16383);
    std::ranges::generate(image, [random = std::mt19937(7)]() mutable
                          { return static_cast<std::uint8_t>(random()); });
    EXPECT_TRUE(box.ReceiveSysEx(BuildFirmwareStart(16)->bytes, 0).empty());
    // The box answers nothing and takes no setting during a transfer.
    EXPECT_TRUE(box.ReceiveSysEx(BuildStatusRequest().bytes, 100).empty());
    EXPECT_TRUE(box.ReceiveSysEx(BuildSingleSetting(kPedal1Controller, 1)->bytes, 100).empty());
    EXPECT_EQ(box.GetCounts().outOfSequence, 3u);
    std::int64_t now = 500;
    for (std::size_t start = 0; start < image.size(); start += 64)
    {
        const auto end = image.begin() + static_cast<long>(std::min(start + 64, image.size()));
        Bytes block = Block(Bytes(image.begin() + static_cast<long>(start), end));
        if (start == 64)
            block[83] ^= 0x01; // checksum low byte: the second block stays erased
        EXPECT_TRUE(box.ReceiveSysEx(block, now += 100).empty());
    }
    const VirtualStomplet::FirmwareTransfer& firmware = box.Firmware();
    EXPECT_FALSE(firmware.open);
    EXPECT_EQ(firmware.blocksReceived, 256);
    EXPECT_EQ(firmware.checksumFailures, 1);
    image.push_back(0xFF); // the image fills 16 pages
    std::fill(image.begin() + 64, image.begin() + 128, 0xFF);
    EXPECT_EQ(firmware.image, image);
    EXPECT_EQ(box.CurrentSettings()[kPedal1Controller], 11);
    EXPECT_EQ(box.ReceiveSysEx(BuildStatusRequest().bytes, now + 100).size(), 1u);
}
