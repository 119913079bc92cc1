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
using Replies = std::vector<VirtualStomplet::WireMessage>;

template <std::size_t N>
Replies Send(VirtualStomplet& box, const SysExBytes<N>& msg, std::int64_t nowMs)
{
    return box.ReceiveSysEx(msg.bytes, nowMs);
}

Replies Send(VirtualStomplet& box, const Bytes& bytes, std::int64_t nowMs)
{
    return box.ReceiveSysEx(bytes, nowMs);
}

// The settings the editor would read from a reply; fails the test when it is none.
std::array<std::uint8_t, 38> ReadReply(const Replies& replies)
{
    EXPECT_EQ(replies.size(), 1u);
    if (replies.size() != 1)
        return {};
    EXPECT_EQ(replies[0].size(), 50u);
    const auto reply = RecogniseStatusReply(replies[0]);
    EXPECT_TRUE(reply);
    return reply ? reply->values : std::array<std::uint8_t, 38>{};
}
} // namespace

TEST(VirtualStompletStatus, ReplyCarriesBoxBytesVersionAndSettingsOfDataBytesOnly)
{
    VirtualStomplet box;
    ASSERT_TRUE(box.SetBoxData({0x05, 0x06, 0x07, 0x08}));
    ASSERT_TRUE(box.SetFirmwareVersion(0x6D));
    const Replies replies = Send(box, BuildStatusRequest(), 0);
    ASSERT_EQ(replies.size(), 1u);
    const Bytes& reply = replies[0];
    const Bytes header{0xF0, 0x00, 0x3F, 0x5A, 0x04, 0x01, // start, manufacturer, model, reply
                       0x05, 0x06, 0x07, 0x08,             // box bytes
                       0x6D};                              // version 10.9
    EXPECT_TRUE(std::equal(header.begin(), header.end(), reply.begin()));
    EXPECT_EQ(reply[11 + kPedal1Controller], 11);
    EXPECT_EQ(reply[49], 0xF7);
    EXPECT_EQ(RecogniseStatusReply(reply)->values, VirtualStomplet::FactorySettings());

    // Bytes above 7F are refused and change nothing.
    EXPECT_FALSE(box.SetFirmwareVersion(0x80));
    EXPECT_FALSE(box.SetBoxData({0x00, 0x80, 0x00, 0x00}));
    EXPECT_EQ(box.FirmwareVersion(), 0x6D);
    EXPECT_EQ(box.BoxData(), (std::array<std::uint8_t, 4>{0x05, 0x06, 0x07, 0x08}));
}

TEST(VirtualStompletStatus, StandaloneModeLeavesConfirmationsWithin300MsUnanswered)
{
    VirtualStomplet box;
    // Interface Mode answers request and confirmation alike.
    const Replies first = Send(box, BuildStatusRequest(), 1000);
    ASSERT_EQ(first.size(), 1u);
    EXPECT_EQ(Send(box, BuildStatusRequest(), 1002), first);

    box.SetStandalone(true);
    EXPECT_EQ(Send(box, BuildStatusRequest(), 5000).size(), 1u);
    EXPECT_TRUE(Send(box, BuildStatusRequest(), 5299).empty());
    EXPECT_EQ(Send(box, BuildStatusRequest(), 5300).size(), 1u); // the next exchange
    EXPECT_TRUE(Send(box, BuildStatusRequest(), 5301).empty());

    box.SetStandalone(false); // confirmations are answered again
    EXPECT_EQ(Send(box, BuildStatusRequest(), 5302).size(), 1u);
}

TEST(VirtualStompletScenario, EditorSeesEditsResetAndCalibrationThroughReplies)
{
    VirtualStomplet box;
    std::int64_t now = 0;

    // Connect: request, reply, confirming request, confirming reply.
    auto settings = ReadReply(Send(box, BuildStatusRequest(), now));
    EXPECT_EQ(ReadReply(Send(box, BuildStatusRequest(), now += 2)), settings);

    // Single edits are taken silently.
    EXPECT_TRUE(Send(box, *BuildSingleSetting(kSwitchA1Channel, 9), now += 500).empty());
    EXPECT_TRUE(Send(box, *BuildSingleSetting(kJack2Mode, kJackModeSwitches), now += 500).empty());
    settings = ReadReply(Send(box, BuildStatusRequest(), now += 500));
    EXPECT_EQ(settings[kSwitchA1Channel], 9);
    EXPECT_EQ(settings[kJack2Mode], kJackModeSwitches);

    // A preset: All Settings replaces every setting, calibration included.
    std::array<std::uint8_t, 38> preset{};
    for (std::size_t i = 0; i < preset.size(); ++i)
        preset[i] = static_cast<std::uint8_t>(i % 2);
    preset[kPedal1CalibrationHigh] = 100;
    EXPECT_TRUE(Send(box, *BuildAllSettings(preset), now += 500).empty());
    EXPECT_EQ(ReadReply(Send(box, BuildStatusRequest(), now += 500)), preset);

    // Reset brings the factory settings back.
    EXPECT_TRUE(Send(box, BuildResetAllRequest(), now += 500).empty());
    EXPECT_EQ(ReadReply(Send(box, BuildStatusRequest(), now += 2)),
              VirtualStomplet::FactorySettings());

    // Calibration takes the pedal's position for the named end.
    box.SetPedalPosition(VirtualStomplet::Jack::k1, 12);
    EXPECT_TRUE(Send(box, *BuildCalibrationRequest(kPedal1CalibrationLow), now += 500).empty());
    box.SetPedalPosition(VirtualStomplet::Jack::k1, 119);
    EXPECT_TRUE(Send(box, *BuildCalibrationRequest(kPedal1CalibrationHigh), now += 500).empty());
    settings = ReadReply(Send(box, BuildStatusRequest(), now += 2));
    EXPECT_EQ(settings[kPedal1CalibrationLow], 12);
    EXPECT_EQ(settings[kPedal1CalibrationHigh], 119);
    EXPECT_EQ(settings[kPedal2CalibrationLow], 0);
}

TEST(VirtualStompletSettings, ValueAboveASettingsRangeStoresItsLargestValue)
{
    VirtualStomplet box;
    Send(box, *BuildSingleSetting(kPedal1Channel, 0x7F), 0);
    Send(box, *BuildSingleSetting(kSwitchB2Function, 9), 0);
    EXPECT_EQ(box.CurrentSettings()[kPedal1Channel], 15);
    EXPECT_EQ(box.CurrentSettings()[kSwitchB2Function], kSwitchFunctionPedal);
}

TEST(VirtualStompletSettings, SingleSettingOnACalibrationAddressIsNotAWrite)
{
    VirtualStomplet box;
    box.SetPedalPosition(VirtualStomplet::Jack::k2, 50);
    // A value on a calibration address is no Calibration Request either.
    const Bytes write{0xF0, 0x00, 0x3F, 0x5A, 0x04, 0x02, 0x0A, 0x05, 0xF7};
    EXPECT_TRUE(Send(box, write, 0).empty());
    EXPECT_EQ(box.CurrentSettings()[kPedal2CalibrationHigh], 127);
    EXPECT_EQ(box.GetCounts().malformed, 1u);
    EXPECT_EQ(box.GetCounts().calibrations, 0u);
}

TEST(VirtualStompletIgnores, MalformedMessagesChangeNothing)
{
    VirtualStomplet box;
    const std::vector<Bytes> malformed{
        {},
        {0xF0, 0x00, 0x3F, 0x5A, 0x04, 0x02, 0x17, 0x05},       // no end byte
        {0xF0, 0x00, 0x3F, 0x5A, 0x04, 0x02, 0x17, 0x85, 0xF7}, // value not a data byte
        {0xF0, 0x00, 0x3F, 0x5A, 0x04, 0x02, 0x17, 0xF7},       // command 02 cut short
        {0xF0, 0x00, 0x3F, 0x5A, 0x04, 0x02, 0x71, 0x01, 0xF7}, // status request with a value
        {0xF0, 0x00, 0x3F, 0x5A, 0x04, 0x03, 0x0A, 0x01, 0xF7}, // All Settings cut short
    };
    for (const Bytes& bytes : malformed)
        EXPECT_TRUE(Send(box, bytes, 0).empty());

    Bytes wrongFormat{0xF0, 0x00, 0x3F, 0x5A, 0x04, 0x03, 0x14}; // All Settings, format 2.0
    wrongFormat.resize(45, 0x01);
    wrongFormat.push_back(0xF7);
    EXPECT_TRUE(Send(box, wrongFormat, 0).empty());

    EXPECT_EQ(box.GetCounts().malformed, malformed.size() + 1);
    EXPECT_EQ(box.CurrentSettings(), VirtualStomplet::FactorySettings());
    EXPECT_EQ(box.GetCounts().statusReplies, 0u);
}

TEST(VirtualStompletIgnores, ForeignMessagesChangeNothing)
{
    VirtualStomplet box;
    const std::vector<Bytes> foreign{
        {0xF0, 0x7E, 0x7F, 0x06, 0x01, 0xF7},                   // universal identity request
        {0xF0, 0x00, 0x3F, 0x5B, 0x04, 0x02, 0x71, 0x00, 0xF7}, // another manufacturer
        {0xF0, 0x00, 0x3F, 0x5A, 0x04, 0x02, 0x26, 0x00, 0xF7}, // address past the settings
        {0xF0, 0x00, 0x3F, 0x5A, 0x04, 0x07, 0x71, 0x00, 0xF7}, // unknown command
        {0xF0, 0x00, 0x3F, 0x5A, 0x01, 0x72, 0x00, 0xF7},       // unknown firmware command
    };
    for (const Bytes& bytes : foreign)
        EXPECT_TRUE(Send(box, bytes, 0).empty());

    // A Status Reply echoed back to the box is not a request.
    const Replies reply = Send(box, BuildStatusRequest(), 0);
    ASSERT_EQ(reply.size(), 1u);
    EXPECT_TRUE(box.ReceiveSysEx(reply[0], 1).empty());

    EXPECT_EQ(box.GetCounts().foreign, foreign.size() + 1);
    EXPECT_EQ(box.CurrentSettings(), VirtualStomplet::FactorySettings());
}

TEST(VirtualStompletFirmware, ImageOf16383BytesArrivesBlockByBlock)
{
    std::mt19937 random(7);
    std::uniform_int_distribution<int> byte(0, 255);
    Bytes image(16383);
    for (auto& b : image)
        b = static_cast<std::uint8_t>(byte(random));

    VirtualStomplet box;
    const int pages = static_cast<int>((image.size() + 1023) / 1024);
    ASSERT_EQ(pages, 16);
    std::int64_t now = 0;
    EXPECT_TRUE(Send(box, *BuildFirmwareStart(pages), now).empty());
    EXPECT_TRUE(box.Firmware().open);
    EXPECT_EQ(box.Firmware().blocksExpected, 256);

    now += 500;
    for (std::size_t start = 0; start < image.size(); start += 64)
    {
        const std::size_t length = std::min<std::size_t>(64, image.size() - start);
        const auto packed =
            PackFirmwareBlock(std::span<const std::uint8_t>(image).subspan(start, length));
        ASSERT_TRUE(packed);
        EXPECT_TRUE(Send(box, *BuildFirmwareBlock(*packed), now += 100).empty());
    }

    const VirtualStomplet::FirmwareTransfer& firmware = box.Firmware();
    EXPECT_FALSE(firmware.open);
    EXPECT_EQ(firmware.blocksReceived, 256);
    EXPECT_EQ(firmware.checksumFailures, 0);
    ASSERT_EQ(firmware.image.size(), 16384u);
    EXPECT_TRUE(std::equal(image.begin(), image.end(), firmware.image.begin()));
    EXPECT_EQ(firmware.image.back(), 0xFF); // the prefill of the last block's slot
}

TEST(VirtualStompletFirmware, BlockWithWrongChecksumIsCountedAndLeftErased)
{
    VirtualStomplet box;
    Send(box, *BuildFirmwareStart(1), 0);
    const Bytes zeros(64, 0x00);
    auto block = *BuildFirmwareBlock(*PackFirmwareBlock(zeros));
    Send(box, block, 100);
    block.bytes[83] ^= 0x01; // checksum low byte
    Send(box, block, 200);

    const VirtualStomplet::FirmwareTransfer& firmware = box.Firmware();
    EXPECT_EQ(firmware.blocksReceived, 2);
    EXPECT_EQ(firmware.checksumFailures, 1);
    EXPECT_TRUE(std::all_of(firmware.image.begin(), firmware.image.begin() + 64,
                            [](std::uint8_t b) { return b == 0x00; }));
    EXPECT_TRUE(std::all_of(firmware.image.begin() + 64, firmware.image.end(),
                            [](std::uint8_t b) { return b == 0xFF; }));
}

TEST(VirtualStompletFirmware, BoxAnswersNothingDuringATransfer)
{
    VirtualStomplet box;
    Send(box, *BuildFirmwareStart(1), 0);
    EXPECT_TRUE(Send(box, BuildStatusRequest(), 100).empty());
    EXPECT_TRUE(Send(box, *BuildSingleSetting(kPedal1Controller, 1), 100).empty());
    EXPECT_EQ(box.CurrentSettings()[kPedal1Controller], 11);
    EXPECT_EQ(box.GetCounts().outOfSequence, 2u);

    const Bytes ff(64, 0xFF);
    for (int block = 0; block < 16; ++block)
        Send(box, *BuildFirmwareBlock(*PackFirmwareBlock(ff)), 200 + 100 * block);
    EXPECT_FALSE(box.Firmware().open);
    EXPECT_EQ(Send(box, BuildStatusRequest(), 5000).size(), 1u);
}

TEST(VirtualStompletFirmware, BlockWithoutStartAndWrongStartCodeAreIgnored)
{
    VirtualStomplet box;
    const std::array<std::uint8_t, 74> packed{};
    Send(box, *BuildFirmwareBlock(packed), 0);
    EXPECT_EQ(box.GetCounts().outOfSequence, 1u);

    auto start = *BuildFirmwareStart(2);
    start.bytes[6] ^= 0x01;
    Send(box, start, 0);
    auto tooMany = *BuildFirmwareStart(16);
    tooMany.bytes[10] = 17;
    Send(box, tooMany, 0);
    EXPECT_EQ(box.GetCounts().malformed, 2u);
    EXPECT_FALSE(box.Firmware().open);
    EXPECT_EQ(box.Firmware().blocksExpected, 0);
}

TEST(VirtualStompletFirmware, EmptyImageAnnouncesNoBlocks)
{
    VirtualStomplet box;
    Send(box, *BuildFirmwareStart(0), 0);
    EXPECT_FALSE(box.Firmware().open);
    EXPECT_EQ(Send(box, BuildStatusRequest(), 100).size(), 1u);
}
