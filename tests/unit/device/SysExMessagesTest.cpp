#include "device/SysExMessages.h"

#include <array>
#include <cstdint>
#include <gtest/gtest.h>
#include <vector>

namespace
{
using Bytes = std::vector<std::uint8_t>;

template <std::size_t N>
Bytes ToVector(const SysExBytes<N>& msg)
{
    return Bytes(msg.bytes.begin(), msg.bytes.end());
}

// A write-value command: start, manufacturer 00 3F 5A, model 04, command 02, address, value, end.
Bytes WriteValue(std::uint8_t address, std::uint8_t value)
{
    return {0xF0, 0x00, 0x3F, 0x5A, 0x04, 0x02, address, value, 0xF7};
}

// A 50-byte Status Reply: header, box bytes 11 22 33 44, version, values i + 1, F7.
Bytes StatusReplyBytes(std::uint8_t version)
{
    Bytes bytes{0xF0, 0x00, 0x3F, 0x5A, 0x04, 0x01, 0x11, 0x22, 0x33, 0x44, version};
    for (int i = 0; i < 38; ++i)
        bytes.push_back(static_cast<std::uint8_t>(i + 1));
    bytes.push_back(0xF7);
    return bytes;
}
} // namespace

TEST(SingleSetting, IndexIsTheAddressAndValueTheDataByte)
{
    struct Case
    {
        int idx;
        int value;
        std::uint8_t address;
    };
    const Case cases[] = {
        {kSwitchA1Channel, 9, 0x1C}, // channel "10" of switch A1
        {0, 0x7F, 0x00},             // first address, highest value
        {37, 0, 0x25},               // last address
        {8, 0, 0x08},                // the neighbours of the calibration ends are settings
        {11, 0, 0x0B},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.idx);
        const auto msg = BuildSingleSetting(c.idx, c.value);
        ASSERT_TRUE(msg);
        EXPECT_EQ(ToVector(*msg), WriteValue(c.address, static_cast<std::uint8_t>(c.value)));
    }
}

TEST(SingleSetting, NoDataByteIndexOutsideTheTableAndCalibrationEndsAreRefused)
{
    struct Case
    {
        int idx;
        int value;
    };
    const Case cases[] = {
        {kPedal1Controller, 0x80}, // values that are no data byte
        {kPedal1Controller, -1},
        {-1, 0}, // indices outside the table
        {38, 0},
        {9, 0}, // the four calibration ends
        {10, 0},
        {26, 0},
        {27, 0},
    };
    for (const Case& c : cases)
        EXPECT_FALSE(BuildSingleSetting(c.idx, c.value)) << c.idx << " = " << c.value;
}

TEST(FixedRequests, StatusRequestIsAddress71AndResetAllAddress70)
{
    EXPECT_EQ(ToVector(BuildStatusRequest()), WriteValue(0x71, 0x00));
    EXPECT_EQ(ToVector(BuildResetAllRequest()), WriteValue(0x70, 0x00));
}

TEST(CalibrationRequest, EachOfTheFourEndsHasItsAddressAndValueZero)
{
    // Pedal 2 low, pedal 2 high, pedal 1 low, pedal 1 high.
    for (std::uint8_t address : std::array<std::uint8_t, 4>{0x09, 0x0A, 0x1A, 0x1B})
    {
        const auto msg = BuildCalibrationRequest(address);
        ASSERT_TRUE(msg) << int(address);
        EXPECT_EQ(ToVector(*msg), WriteValue(address, 0x00));
    }
    for (int address : {-1, 8, 0x0B, 0x19, 0x1C, 0x71})
        EXPECT_FALSE(BuildCalibrationRequest(address)) << address;
}

TEST(AllSettings, ValueOfParameterIStandsAtOffsetSevenPlusI)
{
    std::array<std::uint8_t, 38> values{};
    for (std::size_t i = 0; i < values.size(); ++i)
        values[i] = static_cast<std::uint8_t>(0x40 + i);
    const auto msg = BuildAllSettings(values);
    ASSERT_TRUE(msg);
    Bytes expected{0xF0, 0x00, 0x3F, 0x5A,                         // start, manufacturer
                   0x04, 0x03,                                     // model, All Settings command
                   0x0A};                                          // format version 1.0
    expected.insert(expected.end(), values.begin(), values.end()); // 38 values
    expected.push_back(0xF7);
    EXPECT_EQ(ToVector(*msg), expected);

    values[37] = 0x80;
    EXPECT_FALSE(BuildAllSettings(values));
}

TEST(FirmwareStart, CarriesStartCodeAndPageCountZeroToSixteen)
{
    const auto msg = BuildFirmwareStart(16);
    ASSERT_TRUE(msg);
    const Bytes expected{0xF0, 0x00, 0x3F, 0x5A, // start, manufacturer
                         0x01, 0x70,             // firmware model, start command
                         0x53, 0x54, 0x4C, 0x54, // start code
                         0x10,                   // 16 pages
                         0xF7};
    EXPECT_EQ(ToVector(*msg), expected);
    EXPECT_EQ(BuildFirmwareStart(0)->bytes[10], 0x00);
    EXPECT_FALSE(BuildFirmwareStart(17));
    EXPECT_FALSE(BuildFirmwareStart(-1));
}

TEST(FirmwareBlock, AllZeroDataEndsWithZeroChecksumAndBytesAbove7FAreRefused)
{
    const std::array<std::uint8_t, 74> zeros{};
    const auto msg = BuildFirmwareBlock(zeros);
    ASSERT_TRUE(msg);
    Bytes expected{0xF0, 0x00, 0x3F, 0x5A,               // start, manufacturer
                   0x01, 0x71,                           // firmware model, block command
                   0x54, 0x32};                          // block marker
    expected.resize(8 + 74, 0x00);                       // packed data
    expected.insert(expected.end(), {0x00, 0x00, 0xF7}); // checksum high, low, end
    EXPECT_EQ(ToVector(*msg), expected);

    std::array<std::uint8_t, 74> notData{};
    notData[10] = 0x80;
    EXPECT_FALSE(BuildFirmwareBlock(notData));
}

TEST(StatusReply, FiftyByteMessageGivesVersionAndValues)
{
    const Bytes bytes = StatusReplyBytes(0x0C);
    const auto reply = RecogniseStatusReply(bytes);
    ASSERT_TRUE(reply);
    EXPECT_EQ(reply->version, 0x0C);
    EXPECT_EQ(reply->values[0], 1);
    EXPECT_EQ(reply->values[37], 38);
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
}

TEST(StatusReply, SixtyByteMessageIsAcceptedAndTailIgnored)
{
    Bytes bytes = StatusReplyBytes(0x0C);
    bytes.insert(bytes.end(), 10, 0x55);
    ASSERT_EQ(bytes.size(), 60u);
    const auto reply = RecogniseStatusReply(bytes);
    ASSERT_TRUE(reply);
    EXPECT_EQ(reply->values[37], 38);
}

TEST(StatusReply, FirstByteBoxBytesAndLastByteAreNotChecked)
{
    Bytes bytes = StatusReplyBytes(0x6D);
    bytes[0] = 0x00;
    bytes[6] = 0x7F;
    bytes[49] = 0x00;
    const auto reply = RecogniseStatusReply(bytes);
    ASSERT_TRUE(reply);
    EXPECT_EQ(reply->version, 0x6D);
}

TEST(StatusReply, RecordWithoutBytesIsNotAReply)
{
    EXPECT_FALSE(RecogniseStatusReply(SysExMessage{0, 50, nullptr}));
    const Bytes bytes = StatusReplyBytes(0x0C);
    EXPECT_FALSE(RecogniseStatusReply(SysExMessage{0, -1, bytes.data()}));
}

TEST(StatusReply, BuiltReplyIsRecognisedWithItsContentAndBytesAbove7FAreRefused)
{
    std::array<std::uint8_t, 38> values{};
    values[kPedal2Controller] = 7;
    const std::array<std::uint8_t, 4> box{0x01, 0x02, 0x03, 0x04};
    const auto msg = BuildStatusReply(box, 0x0C, values);
    ASSERT_TRUE(msg);
    const auto reply = RecogniseStatusReply(msg->Message());
    ASSERT_TRUE(reply);
    EXPECT_EQ(reply->values, values);

    EXPECT_FALSE(BuildStatusReply(std::array<std::uint8_t, 4>{0x80, 0, 0, 0}, 0x0C, values));
    EXPECT_FALSE(BuildStatusReply(std::array<std::uint8_t, 4>{}, 0x80, values));
}
