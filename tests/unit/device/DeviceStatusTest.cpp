#include "device/DeviceStatus.h"

#include <gtest/gtest.h>
#include <string>

TEST(DevicePort, OnlyANameStartingWithTheExactDeviceNameIsTheBox)
{
    EXPECT_TRUE(IsStompletPortName("Korvo-Audio ctrlWave Stomplet"));
    EXPECT_TRUE(IsStompletPortName("Korvo-Audio ctrlWave Stomplet 1"));
    EXPECT_FALSE(IsStompletPortName("korvo-Audio ctrlWave Stomplet 1")); // lower-case first letter
    EXPECT_FALSE(IsStompletPortName("Korvo-Audio ctrlWave Stomple"));    // last letter missing
    EXPECT_FALSE(IsStompletPortName("off"));

    EXPECT_EQ(DeviceText("off"), "DEVICE: off");
    EXPECT_EQ(DeviceText(std::string(400, 'n')).size(), 255u);
}
