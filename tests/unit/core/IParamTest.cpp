#include "core/IParam.h"

#include <gtest/gtest.h>
#include <limits>
#include <utility>

TEST(ParamSetup, OverlongTextsAreCutToThirtyOneCharacters)
{
    IParam param;
    param.InitInteger("A name that is much longer than thirty-one characters", 0, 0, 1);
    EXPECT_EQ(param.GetName(), "A name that is much longer than");
}

TEST(ParamSetup, AParameterNeverSetUpConvertsWithoutFault)
{
    IParam param;
    EXPECT_EQ(param.ToNormalized(0.5), 0.5);
    EXPECT_EQ(param.FromNormalized(2.0), 1.0);
}

TEST(ParamValues, SteppedValuesRoundHalvesAwayFromZeroThenClampAndNotANumberIsTheMinimum)
{
    IParam param;
    param.InitInteger("P", 0, -10, 10);
    const std::pair<double, double> cases[] = {
        {2.5, 3.0},    {-2.5, -3.0},    {2.4999, 2.0},
        {200.0, 10.0}, {-1e300, -10.0}, {std::numeric_limits<double>::quiet_NaN(), -10.0}};
    for (const auto& [set, value] : cases)
    {
        param.Set(set);
        EXPECT_EQ(param.Value(), value) << set;
    }
    param.Set(5.0);
    param.SetNormalized(std::numeric_limits<double>::quiet_NaN());
    EXPECT_EQ(param.Value(), -10.0);
}

TEST(ParamValues, NormalizedConversionUsesTheLinearShapeAndTheStep)
{
    IParam param;
    param.InitInteger("P", 0, 0, 127);
    param.SetNormalized(0.5); // 63.5 rounds away from zero
    EXPECT_EQ(param.Value(), 64.0);
    EXPECT_DOUBLE_EQ(param.GetNormalized(), 64.0 / 127.0);
    EXPECT_EQ(param.ToNormalized(500.0), 1.0);
    EXPECT_EQ(param.FromNormalized(2.0), 127.0);
}

TEST(ParamDisplay, IntegerShowsTheClampedRoundedWholeNumber)
{
    IParam param;
    param.InitInteger("P", 0, 0, 127);
    param.Set(200.0);
    EXPECT_EQ(param.GetDisplay(), "127");
    EXPECT_EQ(param.GetDisplay(2.5), "3");
}

TEST(ParamDisplay, FirstNonEmptyDisplayTextWinsAndAnEmptyOneFallsThroughToTheNumber)
{
    IParam param;
    param.InitInteger("P", 0, 0, 127);
    param.SetDisplayText(0.0, "");
    param.SetDisplayText(1.0, "One");
    param.SetDisplayText(1.0, "Second entry for one");
    EXPECT_EQ(param.GetDisplay(0.0), "0");
    EXPECT_EQ(param.GetDisplay(1.0), "One");
}

TEST(ParamDisplay, NegationSignAndPrecisionRules)
{
    IParam negated;
    negated.InitContinuous("P", 0.0, -10.0, 10.0, 0.1, "", IParam::kFlagNegateDisplay);
    EXPECT_EQ(negated.GetDisplay(2.5), "-2.5");
    EXPECT_EQ(negated.GetDisplay(0.0), "0.0"); // never "-0.0"

    IParam signedParam;
    signedParam.InitContinuous("P", 0.0, -10.0, 10.0, 0.25, "", IParam::kFlagSignDisplay);
    EXPECT_EQ(signedParam.GetDisplay(1.5), "+1.50");
    EXPECT_EQ(signedParam.GetDisplay(0.0), "0.00");
}
