#include "device/SysExMessages.h"

#include <algorithm>
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

TEST(SingleSetting, ChannelTenOfSwitchA1IsAddress1CValue09)
{
    const auto msg = BuildSingleSetting(kSwitchA1Channel, 9);
    ASSERT_TRUE(msg);
    const Bytes expected{0xF0, 0x00, 0x3F, 0x5A, // start, manufacturer
                         0x04, 0x02,             // model, write-value command
                         0x1C, 0x09,             // address 28, channel "10"
                         0xF7};
    EXPECT_EQ(ToVector(*msg), expected);
}

TEST(SingleSetting, RecordHandsTheWholeMessageFromOffsetZero)
{
    const auto msg = BuildSingleSetting(kPedal1Controller, 11);
    ASSERT_TRUE(msg);
    const SysExMessage record = msg->Message();
    EXPECT_EQ(record.offset, 0);
    EXPECT_EQ(record.size, 9);
    EXPECT_EQ(record.data, msg->bytes.data());
    EXPECT_EQ(record.data[6], 0x17);
    EXPECT_EQ(record.data[7], 0x0B);
}

TEST(SingleSetting, FirstAndLastAddressesAndHighestValueAreEncoded)
{
    ASSERT_TRUE(BuildSingleSetting(0, 0x7F));
    EXPECT_EQ(BuildSingleSetting(0, 0x7F)->bytes[6], 0x00);
    EXPECT_EQ(BuildSingleSetting(0, 0x7F)->bytes[7], 0x7F);
    ASSERT_TRUE(BuildSingleSetting(37, 0));
    EXPECT_EQ(BuildSingleSetting(37, 0)->bytes[6], 0x25);
}

TEST(SingleSetting, ValueThatIsNoDataByteIsRefused)
{
    EXPECT_FALSE(BuildSingleSetting(kPedal1Controller, 0x80));
    EXPECT_FALSE(BuildSingleSetting(kPedal1Controller, 255));
    EXPECT_FALSE(BuildSingleSetting(kPedal1Controller, -1));
}

TEST(SingleSetting, IndexOutsideTheTableIsRefused)
{
    EXPECT_FALSE(BuildSingleSetting(-1, 0));
    EXPECT_FALSE(BuildSingleSetting(38, 0));
    EXPECT_FALSE(BuildSingleSetting(0x70, 0));
    EXPECT_FALSE(BuildSingleSetting(0x71, 0));
}

TEST(SingleSetting, CalibrationSettingsAreRefused)
{
    for (int idx : {9, 10, 26, 27})
        EXPECT_FALSE(BuildSingleSetting(idx, 0)) << idx;
    for (int idx : {8, 11, 25, 28})
        EXPECT_TRUE(BuildSingleSetting(idx, 0)) << idx;
}

TEST(FixedRequests, StatusRequestIsAddress71)
{
    const Bytes expected{0xF0, 0x00, 0x3F, 0x5A, 0x04, 0x02, 0x71, 0x00, 0xF7};
    EXPECT_EQ(ToVector(BuildStatusRequest()), expected);
}

TEST(FixedRequests, ResetAllRequestIsAddress70)
{
    const Bytes expected{0xF0, 0x00, 0x3F, 0x5A, 0x04, 0x02, 0x70, 0x00, 0xF7};
    EXPECT_EQ(ToVector(BuildResetAllRequest()), expected);
}

TEST(CalibrationRequest, EachOfTheFourEndsHasItsAddressAndValueZero)
{
    const std::array<std::uint8_t, 4> addresses{0x09, 0x0A, 0x1A, 0x1B};
    for (std::uint8_t address : addresses)
    {
        const auto msg = BuildCalibrationRequest(address);
        ASSERT_TRUE(msg) << int(address);
        const Bytes expected{0xF0, 0x00, 0x3F, 0x5A, 0x04, 0x02, address, 0x00, 0xF7};
        EXPECT_EQ(ToVector(*msg), expected);
    }
}

TEST(CalibrationRequest, Pedal1HighAndPedal2LowMatchTheirButtons)
{
    const Bytes pedal1High{0xF0, 0x00, 0x3F, 0x5A, 0x04, 0x02, 0x1B, 0x00, 0xF7};
    const Bytes pedal2Low{0xF0, 0x00, 0x3F, 0x5A, 0x04, 0x02, 0x09, 0x00, 0xF7};
    EXPECT_EQ(ToVector(*BuildCalibrationRequest(kPedal1CalibrationHigh)), pedal1High);
    EXPECT_EQ(ToVector(*BuildCalibrationRequest(kPedal2CalibrationLow)), pedal2Low);
}

TEST(CalibrationRequest, AnyOtherAddressIsRefused)
{
    for (int address : {-1, 0, 8, 0x0B, 0x19, 0x1C, 0x70, 0x71, 0x89})
        EXPECT_FALSE(BuildCalibrationRequest(address)) << address;
}

TEST(CalibrationParams, ExactlyTheFourCalibrationEndsAreCalibrationParams)
{
    int count = 0;
    for (int idx = -2; idx < 0x80; ++idx)
        count += IsCalibrationParam(idx) ? 1 : 0;
    EXPECT_EQ(count, 4);
    EXPECT_TRUE(IsCalibrationParam(9) && IsCalibrationParam(10));
    EXPECT_TRUE(IsCalibrationParam(26) && IsCalibrationParam(27));
}

TEST(ParameterAddress, IsTheIndexWithinTheTableAndEmptyOutside)
{
    EXPECT_EQ(ParameterAddress(0), std::uint8_t{0x00});
    EXPECT_EQ(ParameterAddress(28), std::uint8_t{0x1C});
    EXPECT_EQ(ParameterAddress(37), std::uint8_t{0x25});
    EXPECT_FALSE(ParameterAddress(-1));
    EXPECT_FALSE(ParameterAddress(38));
}

TEST(AllSettings, AllZerosIsHeaderThirtyEightZerosAndEnd)
{
    const std::array<std::uint8_t, 38> zeros{};
    const auto msg = BuildAllSettings(zeros);
    ASSERT_TRUE(msg);
    Bytes expected{0xF0, 0x00, 0x3F, 0x5A, // start, manufacturer
                   0x04, 0x03,             // model, All Settings command
                   0x0A};                  // format version 1.0
    expected.resize(7 + 38, 0x00);         // 38 values
    expected.push_back(0xF7);
    ASSERT_EQ(expected.size(), 46u);
    EXPECT_EQ(ToVector(*msg), expected);
    EXPECT_EQ(msg->Message().size, 46);
}

TEST(AllSettings, ValueOfParameterIStandsAtOffsetSevenPlusI)
{
    std::array<std::uint8_t, 38> values{};
    for (std::size_t i = 0; i < values.size(); ++i)
        values[i] = static_cast<std::uint8_t>(0x40 + i);
    const auto msg = BuildAllSettings(values);
    ASSERT_TRUE(msg);
    EXPECT_EQ(msg->bytes[7], 0x40);
    EXPECT_EQ(msg->bytes[7 + kPedal1Controller], 0x40 + kPedal1Controller);
    EXPECT_EQ(msg->bytes[44], 0x40 + 37);
    EXPECT_EQ(msg->bytes[45], 0xF7);
}

TEST(AllSettings, ValueAbove7FIsRefused)
{
    std::array<std::uint8_t, 38> values{};
    values[37] = 0x80;
    EXPECT_FALSE(BuildAllSettings(values));
}

TEST(FirmwareStart, CarriesStartCodeAndPageCount)
{
    const auto msg = BuildFirmwareStart(16);
    ASSERT_TRUE(msg);
    const Bytes expected{0xF0,
                         0x00,
                         0x3F,
                         0x5A, // start, manufacturer
                         0x01,
                         0x70, // firmware model, start command
                         kFirmwareStartCode[0],
                         kFirmwareStartCode[1],
                         kFirmwareStartCode[2],
                         kFirmwareStartCode[3], // start code
                         0x10,                  // 16 pages
                         0xF7};
    EXPECT_EQ(ToVector(*msg), expected);
}

TEST(FirmwareStart, StartCodeIsFourDataBytes)
{
    EXPECT_TRUE(std::all_of(kFirmwareStartCode.begin(), kFirmwareStartCode.end(),
                            [](std::uint8_t b) { return b < 0x80; }));
}

TEST(FirmwareStart, PageCountsZeroToSixteenAreEncodedAndOthersRefused)
{
    EXPECT_EQ(BuildFirmwareStart(0)->bytes[10], 0x00);
    EXPECT_EQ(BuildFirmwareStart(1)->bytes[10], 0x01);
    EXPECT_FALSE(BuildFirmwareStart(17));
    EXPECT_FALSE(BuildFirmwareStart(-1));
}

TEST(FirmwareBlock, AllZeroDataEndsWithZeroChecksumAndEnd)
{
    const std::array<std::uint8_t, 74> zeros{};
    const auto msg = BuildFirmwareBlock(zeros);
    ASSERT_TRUE(msg);
    Bytes expected{0xF0, 0x00, 0x3F, 0x5A,               // start, manufacturer
                   0x01, 0x71,                           // firmware model, block command
                   0x54, 0x32};                          // block marker
    expected.resize(8 + 74, 0x00);                       // packed data
    expected.insert(expected.end(), {0x00, 0x00, 0xF7}); // checksum high, low, end
    ASSERT_EQ(expected.size(), 85u);
    EXPECT_EQ(ToVector(*msg), expected);
}

TEST(FirmwareBlock, PackedAllFFCarriesChecksum4877)
{
    std::array<std::uint8_t, 74> packed;
    packed.fill(0x7F);
    packed[73] = 0x40;
    const auto msg = BuildFirmwareBlock(packed);
    ASSERT_TRUE(msg);
    EXPECT_EQ(msg->bytes[8], 0x7F);
    EXPECT_EQ(msg->bytes[81], 0x40);
    EXPECT_EQ(msg->bytes[82], 0x48);
    EXPECT_EQ(msg->bytes[83], 0x77);
    EXPECT_EQ(msg->bytes[84], 0xF7);
}

TEST(FirmwareBlock, PackedByteAbove7FIsRefused)
{
    std::array<std::uint8_t, 74> packed{};
    packed[10] = 0x80;
    EXPECT_FALSE(BuildFirmwareBlock(packed));
}

TEST(StatusReply, FiftyByteMessageGivesVersionAndValues)
{
    const Bytes bytes = StatusReplyBytes(0x0C);
    const auto reply = RecogniseStatusReply(bytes);
    ASSERT_TRUE(reply);
    EXPECT_EQ(reply->version, 0x0C);
    EXPECT_EQ(reply->values[0], 1);
    EXPECT_EQ(reply->values[kPedal1Controller], kPedal1Controller + 1);
    EXPECT_EQ(reply->values[37], 38);
}

TEST(StatusReply, FortyNineBytesIsNotAReply)
{
    Bytes bytes = StatusReplyBytes(0x0C);
    bytes.erase(bytes.begin() + 48);
    ASSERT_EQ(bytes.size(), 49u);
    EXPECT_FALSE(RecogniseStatusReply(bytes));
}

TEST(StatusReply, CommandTwoIsNotAReply)
{
    Bytes bytes = StatusReplyBytes(0x0C);
    bytes[5] = 0x02;
    EXPECT_FALSE(RecogniseStatusReply(bytes));
}

TEST(StatusReply, ModelByteOneIsNotAReply)
{
    Bytes bytes = StatusReplyBytes(0x0C);
    bytes[4] = 0x01;
    EXPECT_FALSE(RecogniseStatusReply(bytes));
}

TEST(StatusReply, OtherManufacturerIsNotAReply)
{
    for (std::size_t offset : {1u, 2u, 3u})
    {
        Bytes bytes = StatusReplyBytes(0x0C);
        bytes[offset] ^= 0x01;
        EXPECT_FALSE(RecogniseStatusReply(bytes)) << offset;
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
    EXPECT_TRUE(RecogniseStatusReply(SysExMessage{0, 50, bytes.data()}));
}

TEST(StatusReply, BuiltReplyIsRecognisedWithItsContent)
{
    std::array<std::uint8_t, 38> values{};
    values[kPedal2Controller] = 7;
    const std::array<std::uint8_t, 4> box{0x01, 0x02, 0x03, 0x04};
    const auto msg = BuildStatusReply(box, 0x0C, values);
    ASSERT_TRUE(msg);
    EXPECT_EQ(msg->bytes[6], 0x01);
    EXPECT_EQ(msg->bytes[49], 0xF7);
    const auto reply = RecogniseStatusReply(msg->Message());
    ASSERT_TRUE(reply);
    EXPECT_EQ(reply->values, values);
}

TEST(StatusReply, BuilderRefusesBytesAbove7F)
{
    const std::array<std::uint8_t, 38> values{};
    EXPECT_FALSE(BuildStatusReply(std::array<std::uint8_t, 4>{0x80, 0, 0, 0}, 0x0C, values));
    EXPECT_FALSE(BuildStatusReply(std::array<std::uint8_t, 4>{}, 0x80, values));
}
