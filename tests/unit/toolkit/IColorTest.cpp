#include "toolkit/IColor.h"

#include <gtest/gtest.h>

TEST(ColorHsl, PrimaryHuesGreysBlackAndTheLightsCyan)
{
    EXPECT_EQ(IColor::FromHSLA(0.5, 1.0, 0.65), IColor(255, 76, 255, 255));
    EXPECT_EQ(IColor::FromHSLA(0.5, 1.0, 0.0), kColorBlack); // lightness zero, whatever the hue
    EXPECT_EQ(IColor::FromHSLA(0.13, 0.4, 0.0), kColorBlack);
    EXPECT_EQ(IColor::FromHSLA(0.0, 1.0, 0.5), IColor(255, 255, 0, 0));
    EXPECT_EQ(IColor::FromHSLA(1.0 / 3.0, 1.0, 0.5), IColor(255, 0, 255, 0));
    EXPECT_EQ(IColor::FromHSLA(2.0 / 3.0, 1.0, 0.5), IColor(255, 0, 0, 255));
    EXPECT_EQ(IColor::FromHSLA(0.7, 0.0, 1.0), kColorWhite);
    // The hue wraps: 1.25 is 0.25.
    EXPECT_EQ(IColor::FromHSLA(1.25, 1.0, 0.5), IColor::FromHSLA(0.25, 1.0, 0.5));
}

TEST(ColorHsl, AlphaAndOutOfRangeArgumentsAreClamped)
{
    EXPECT_EQ(IColor::FromHSLA(0.0, 2.0, 0.5, 0.5).A, 127);
    EXPECT_EQ(IColor::FromHSLA(0.0, 1.0, 0.5, 7.0), IColor(255, 255, 0, 0));
}

TEST(ColorHsl, ConvertingToHslAndBackKeepsTheColour)
{
    for (const IColor c : {IColor(255, 76, 255, 255), IColor(255, 148, 17, 0),
                           IColor(255, 65, 73, 56), IColor(128, 0, 83, 146)})
    {
        double h = 0.0, s = 0.0, l = 0.0, a = 0.0;
        c.GetHSLA(h, s, l, a);
        const IColor back = IColor::FromHSLA(h, s, l, a);
        EXPECT_NEAR(back.R, c.R, 1);
        EXPECT_NEAR(back.G, c.G, 1);
        EXPECT_NEAR(back.B, c.B, 1);
        EXPECT_NEAR(back.A, c.A, 1);
    }
}

TEST(Color, ChannelsAreClampedInto0To255)
{
    EXPECT_EQ(IColor(300, -4, 128, 256), IColor(255, 0, 128, 255));
    EXPECT_EQ(IColor(200, 1, 2, 3).WithOpacity(0.25).A, 50);
}
