#include "device/SysExMessages.h"

#include <array>
#include <cstdint>
#include <gtest/gtest.h>
#include <vector>

namespace
{
using Bytes = std::vector<std::uint8_t>;

template <std::size_t N>
Bytes Of(const std::optional<SysExBytes<N>>& msg)
{
    return msg ? Bytes(msg->bytes.begin(), msg->bytes.end()) : Bytes{};
}

Bytes Join(std::initializer_list<Bytes> parts)
{
    Bytes all;
    for (const Bytes& part : parts)
        all.insert(all.end(), part.begin(), part.end());
    return all;
}

const Bytes kConfig{0xF0, 0x00, 0x3F, 0x5A, 0x04};   // start, manufacturer 00 3F 5A, model 04
const Bytes kFirmware{0xF0, 0x00, 0x3F, 0x5A, 0x01}; // ... model 01: firmware

// A 50-byte Status Reply: header, box bytes 11 22 33 44, version, values i + 1, F7.
Bytes StatusReplyBytes(std::uint8_t version)
{
    Bytes bytes = Join({kConfig, {0x01, 0x11, 0x22, 0x33, 0x44, version}});
    for (int i = 0; i < 38; ++i)
        bytes.push_back(static_cast<std::uint8_t>(i + 1));
    bytes.push_back(0xF7);
    return bytes;
}
} // namespace

TEST(SysExMessages, EveryMessageTheEditorSendsHasItsGoldenBytes)
{
    std::array<std::uint8_t, 38> values{};
    for (std::size_t i = 0; i < values.size(); ++i)
        values[i] = static_cast<std::uint8_t>(0x40 + i);
    Bytes valueBytes(values.begin(), values.end());
    const std::array<std::uint8_t, 74> zeros{};

    struct Case
    {
        const char* what;
        Bytes built;
        Bytes golden;
    };
    const Case cases[] = {
        // Write value: command 02, address (the setting's index), value.
        {"switch A1 channel 10", Of(BuildSingleSetting(kSwitchA1Channel, 9)),
         Join({kConfig, {0x02, 0x1C, 0x09, 0xF7}})},
        {"first address, highest value", Of(BuildSingleSetting(0, 0x7F)),
         Join({kConfig, {0x02, 0x00, 0x7F, 0xF7}})},
        {"last address", Of(BuildSingleSetting(37, 0)), Join({kConfig, {0x02, 0x25, 0x00, 0xF7}})},
        {"beside a calibration end", Of(BuildSingleSetting(8, 0)),
         Join({kConfig, {0x02, 0x08, 0x00, 0xF7}})},
        {"beside the other end", Of(BuildSingleSetting(11, 0)),
         Join({kConfig, {0x02, 0x0B, 0x00, 0xF7}})},
        {"status request: address 71", Of(std::optional(BuildStatusRequest())),
         Join({kConfig, {0x02, 0x71, 0x00, 0xF7}})},
        {"reset all: address 70", Of(std::optional(BuildResetAllRequest())),
         Join({kConfig, {0x02, 0x70, 0x00, 0xF7}})},
        // All Settings: command 03, format version 1.0, the 38 values in index order.
        {"all settings", Of(BuildAllSettings(values)),
         Join({kConfig, {0x03, 0x0A}, valueBytes, {0xF7}})},
        // Firmware start: command 70, start code "STLT", page count.
        {"firmware start", Of(BuildFirmwareStart(16)),
         Join({kFirmware, {0x70, 0x53, 0x54, 0x4C, 0x54, 0x10, 0xF7}})},
        {"firmware start, no pages", Of(BuildFirmwareStart(0)),
         Join({kFirmware, {0x70, 0x53, 0x54, 0x4C, 0x54, 0x00, 0xF7}})},
        // Firmware block: command 71, marker 54 32, 74 packed bytes, checksum high and low.
        {"zero block", Of(BuildFirmwareBlock(zeros)),
         Join({kFirmware, {0x71, 0x54, 0x32}, Bytes(74, 0x00), {0x00, 0x00, 0xF7}})},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.built, c.golden) << c.what;
    // Calibration: the end's address, value 0. Pedal 2 low, high; pedal 1 low, high.
    for (const std::uint8_t end : std::initializer_list<std::uint8_t>{0x09, 0x0A, 0x1A, 0x1B})
        EXPECT_EQ(Of(BuildCalibrationRequest(end)), Join({kConfig, {0x02, end, 0x00, 0xF7}}))
            << +end;
}

TEST(SysExMessages, ValuesAndAddressesTheBoxCannotTakeBuildNothing)
{
    std::array<std::uint8_t, 38> values{};
    values[37] = 0x80;
    std::array<std::uint8_t, 74> notData{};
    notData[10] = 0x80;
    // Not a data byte, outside the table, and the four calibration ends.
    for (const auto& [idx, value] : {std::pair<int, int>{kPedal1Controller, 0x80},
                                     {kPedal1Controller, -1},
                                     {-1, 0},
                                     {38, 0},
                                     {9, 0},
                                     {10, 0},
                                     {26, 0},
                                     {27, 0}})
        EXPECT_FALSE(BuildSingleSetting(idx, value)) << idx << " = " << value;
    for (int address : {-1, 8, 0x0B, 0x19, 0x1C, 0x71})
        EXPECT_FALSE(BuildCalibrationRequest(address)) << address;
    EXPECT_FALSE(BuildAllSettings(values));
    EXPECT_FALSE(BuildFirmwareStart(17));
    EXPECT_FALSE(BuildFirmwareStart(-1));
    EXPECT_FALSE(BuildFirmwareBlock(notData));
    values[37] = 0;
    EXPECT_FALSE(BuildStatusReply(std::array<std::uint8_t, 4>{0x80, 0, 0, 0}, 0x0C, values));
    EXPECT_FALSE(BuildStatusReply(std::array<std::uint8_t, 4>{}, 0x80, values));
}

TEST(StatusReply, FiftyBytesOrMoreWithTheRightHeaderGiveVersionAndValues)
{
    Bytes bytes = StatusReplyBytes(0x6D);
    bytes[0] = 0x00; // first byte, box bytes and last byte are not checked
    bytes[6] = 0x7F;
    bytes[49] = 0x00;
    bytes.insert(bytes.end(), 10, 0x55); // a tail is ignored
    const auto reply = RecogniseStatusReply(bytes);
    ASSERT_TRUE(reply);
    EXPECT_EQ(reply->version, 0x6D);
    EXPECT_EQ(reply->values[0], 1);
    EXPECT_EQ(reply->values[37], 38);

    std::array<std::uint8_t, 38> values{};
    values[kPedal2Controller] = 7;
    const auto built = BuildStatusReply(std::array<std::uint8_t, 4>{1, 2, 3, 4}, 0x0C, values);
    ASSERT_TRUE(built);
    EXPECT_EQ(RecogniseStatusReply(built->Message())->values, values);
}

TEST(StatusReply, WrongLengthModelCommandOrManufacturerIsNotAReply)
{
    struct Case
    {
        const char* what;
        void (*change)(Bytes&);
    };
    const Case cases[] = {
        {"49 bytes", [](Bytes& b) { b.erase(b.begin() + 48); }},
        {"command 2", [](Bytes& b) { b[5] = 0x02; }},
        {"model 1", [](Bytes& b) { b[4] = 0x01; }},
        {"manufacturer byte 1", [](Bytes& b) { b[1] ^= 0x01; }},
        {"manufacturer byte 3", [](Bytes& b) { b[3] ^= 0x01; }},
    };
    for (const Case& c : cases)
    {
        Bytes bytes = StatusReplyBytes(0x0C);
        c.change(bytes);
        EXPECT_FALSE(RecogniseStatusReply(bytes)) << c.what;
    }
    const Bytes bytes = StatusReplyBytes(0x0C);
    EXPECT_FALSE(RecogniseStatusReply(SysExMessage{0, 50, nullptr}));
    EXPECT_FALSE(RecogniseStatusReply(SysExMessage{0, -1, bytes.data()}));
}
