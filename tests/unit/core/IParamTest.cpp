#include "core/IParam.h"

#include <gtest/gtest.h>
#include <limits>

namespace
{
IParam& MakeChannelParam(IParam& param)
{
    param.InitEnumerated(
        "PEDAL1 Midi Channel", 0, 16, "", IParam::kFlagsNone, "",
        {"1", "2", "3", "4", "5", "6", "7", "8", "9", "10", "11", "12", "13", "14", "15", "16"});
    return param;
}
} // namespace

TEST(ParamSetup, EnumeratedKeepsItsKindThroughTheGeneralSetUp)
{
    IParam param;
    MakeChannelParam(param);
    EXPECT_EQ(param.Type(), IParam::kTypeEnum);
    EXPECT_EQ(param.GetMin(), 0.0);
    EXPECT_EQ(param.GetMax(), 15.0);
    EXPECT_EQ(param.GetStep(), 1.0);
    EXPECT_TRUE(param.Stepped());
    EXPECT_EQ(param.NDisplayTexts(), 16);
    EXPECT_EQ(param.GetDisplay(), "1");
    EXPECT_EQ(param.GetDisplay(15.0), "16");
}

TEST(ParamSetup, IntegerIsSteppedAndStartsAtItsConstrainedDefault)
{
    IParam param;
    param.InitInteger("PEDAL1 Controller", 300, 0, 127);
    EXPECT_EQ(param.Type(), IParam::kTypeInt);
    EXPECT_TRUE(param.Stepped());
    EXPECT_EQ(param.Value(), 127.0);
    EXPECT_EQ(param.GetDefault(), 300.0);
    EXPECT_EQ(param.Unit(), 21u);
}

TEST(ParamSetup, MinEqualToMaxWidensByOneStep)
{
    IParam param;
    param.InitContinuous("Gain", 0.0, 5.0, 5.0, 0.5);
    EXPECT_EQ(param.GetMin(), 5.0);
    EXPECT_EQ(param.GetMax(), 5.5);
    EXPECT_EQ(param.GetRange(), 0.5);
}

TEST(ParamSetup, DisplayPrecisionFollowsTheStepUpToSixDecimals)
{
    const struct
    {
        double step;
        int precision;
    } cases[] = {{1.0, 0}, {0.1, 1}, {0.25, 2}, {0.001, 3}, {1e-9, 6}};
    for (const auto& c : cases)
    {
        IParam param;
        param.InitContinuous("P", 0.0, 0.0, 10.0, c.step);
        EXPECT_EQ(param.GetDisplayPrecision(), c.precision) << "step " << c.step;
    }
}

TEST(ParamSetup, OverlongTextsAreCutToThirtyOneCharacters)
{
    IParam param;
    param.InitInteger("A name that is much longer than thirty-one characters", 0, 0, 1);
    EXPECT_EQ(param.GetName(), "A name that is much longer than");
}

TEST(ParamValues, SteppedValuesRoundHalvesAwayFromZeroThenClampAndNotANumberIsTheMinimum)
{
    IParam param;
    param.InitInteger("P", 0, -10, 10);
    param.Set(2.5);
    EXPECT_EQ(param.Value(), 3.0);
    param.Set(-2.5);
    EXPECT_EQ(param.Value(), -3.0);
    param.Set(2.4999);
    EXPECT_EQ(param.Value(), 2.0);
    param.Set(200.0);
    EXPECT_EQ(param.Value(), 10.0);
    param.Set(-1e300);
    EXPECT_EQ(param.Value(), -10.0);
    param.Set(std::numeric_limits<double>::quiet_NaN()); // not a number: the minimum
    EXPECT_EQ(param.Value(), -10.0);
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
    EXPECT_EQ(param.ToNormalized(-5.0), 0.0);
    EXPECT_EQ(param.FromNormalized(2.0), 127.0);
    EXPECT_DOUBLE_EQ(param.GetDefault(true), 0.0);
}

TEST(ParamValues, IntegerReadingTruncatesTowardZero)
{
    IParam param;
    param.InitContinuous("P", 0.0, -10.0, 10.0, 0.1);
    param.Set(-2.7);
    EXPECT_EQ(param.Int(), -2);
    param.Set(2.7);
    EXPECT_EQ(param.Int(), 2);
}

TEST(ParamDisplay, IntegerShowsTheClampedWholeNumber)
{
    IParam param;
    param.InitInteger("P", 0, 0, 127);
    EXPECT_EQ(param.GetDisplay(64.0), "64");
    param.Set(200.0);
    EXPECT_EQ(param.GetDisplay(), "127");
    EXPECT_EQ(param.GetDisplay(2.5), "3");
    EXPECT_EQ(param.GetDisplay(-2.5), "-3");
}

TEST(ParamDisplay, EmptyDisplayTextFallsThroughToTheNumber)
{
    IParam param;
    param.InitInteger("P", 0, 0, 127);
    param.SetDisplayText(0.0, "");
    param.SetDisplayText(1.0, "One");
    param.SetDisplayText(1.0, "Second entry for one");
    EXPECT_EQ(param.GetDisplay(0.0), "0");
    EXPECT_EQ(param.GetDisplay(1.0), "One"); // the first entry wins
    EXPECT_EQ(param.GetDisplay(1.0, false), "1");
}

TEST(ParamDisplay, DisplayFunctionReplacesEveryOtherRule)
{
    IParam param;
    param.InitContinuous("P", 0.0, 0.0, 100.0, 0.1, "%", IParam::kFlagNegateDisplay, "",
                         IParam::ShapeLinear{},
                         [](double value, std::string& text) { text = value > 50 ? "hi" : "lo"; });
    param.SetDisplayText(0.0, "Zero");
    EXPECT_EQ(param.GetDisplay(0.0), "lo");
    EXPECT_EQ(param.GetDisplay(80.0), "hi");
}

TEST(ParamDisplay, NegationSignAndPrecisionRules)
{
    IParam negated;
    negated.InitContinuous("P", 0.0, -10.0, 10.0, 0.1, "", IParam::kFlagNegateDisplay);
    EXPECT_EQ(negated.GetDisplay(2.5), "-2.5");
    EXPECT_EQ(negated.GetDisplay(0.0), "0.0"); // never "-0.0"

    IParam negatedWhole;
    negatedWhole.InitInteger("P", 0, -10, 10, "", IParam::kFlagNegateDisplay);
    EXPECT_EQ(negatedWhole.GetDisplay(0.0), "0");

    IParam signedParam;
    signedParam.InitContinuous("P", 0.0, -10.0, 10.0, 0.25, "", IParam::kFlagSignDisplay);
    EXPECT_EQ(signedParam.GetDisplay(1.5), "+1.50");
    EXPECT_EQ(signedParam.GetDisplay(-1.5), "-1.50");
    EXPECT_EQ(signedParam.GetDisplay(0.0), "0.00");
}

TEST(ParamDisplay, LabelIsHiddenWhileADisplayTextNamesTheValue)
{
    IParam param;
    param.InitInteger("P", 0, 0, 127, "ms");
    param.SetDisplayText(0.0, "Off");
    EXPECT_EQ(param.GetLabel(), "");
    param.Set(1.0);
    EXPECT_EQ(param.GetLabel(), "ms");
}

TEST(ParamSetup, AParameterNeverSetUpConvertsWithoutFault)
{
    IParam param;
    EXPECT_EQ(param.Type(), IParam::kTypeNone);
    EXPECT_EQ(param.ToNormalized(0.5), 0.5);
    EXPECT_EQ(param.FromNormalized(2.0), 1.0);
}
