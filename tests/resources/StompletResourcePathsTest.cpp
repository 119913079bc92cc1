#include "StompletResourcePaths.h"

#include <gtest/gtest.h>

TEST(StompletResourcePaths, ScaleTwoPutsTheSuffixBeforeTheLastExtensionOtherScalesNameTheImage)
{
    EXPECT_EQ(StompletImagePath("tipring.png", 1), ":/stomplet/images/tipring.png");
    EXPECT_EQ(StompletImagePath("tipring.png", 2), ":/stomplet/images/tipring@2x.png");
    EXPECT_EQ(StompletImagePath("a.b.png", 2), ":/stomplet/images/a.b@2x.png");
    EXPECT_EQ(StompletImagePath("background", 2), ":/stomplet/images/background@2x");
    EXPECT_EQ(StompletImagePath("fwbg.png", 3), ":/stomplet/images/fwbg.png");
    EXPECT_EQ(StompletImagePath("fwbg.png", 0), ":/stomplet/images/fwbg.png");
    EXPECT_EQ(StompletFontPath("ni7seg.ttf"), ":/stomplet/fonts/ni7seg.ttf");
}
