#include "core/IParam.h"
#include "support/ToolkitBench.h"

#include <gtest/gtest.h>
#include <limits>

namespace
{
const IRECT kArea(0.f, 0.f, 50.f, 50.f);

struct BoundBench : ToolkitBench
{
    BoundBench()
    {
        delegate.GetParam(5)->InitInteger("PEDAL1 Controller", 64, 0, 127);
        delegate.GetParam(2)->InitEnumerated("JACK 1 Mode", 0, 2, "", IParam::kFlagsNone, "",
                                             {"Pedal", "Switches"});
        delegate.OpenView(graphics, graphics);
    }
};
} // namespace

TEST(ParamBinding, ControlStartsWithItsParametersValueAndFollowsTheEditorsValues)
{
    BoundBench bench;
    auto* a = bench.graphics.AttachControl(std::make_unique<ProbeControl>(kArea, 5));
    auto* b = bench.graphics.AttachControl(std::make_unique<ProbeControl>(kArea, 5));
    auto* other = bench.graphics.AttachControl(std::make_unique<ProbeControl>(kArea, 2));
    EXPECT_DOUBLE_EQ(a->GetValue(), 64.0 / 127.0);
    bench.delegate.SendParamToView(5, 100.0, false);
    EXPECT_DOUBLE_EQ(a->GetValue(), 100.0 / 127.0);
    EXPECT_DOUBLE_EQ(b->GetValue(), 100.0 / 127.0);
    EXPECT_DOUBLE_EQ(other->GetValue(), 0.0);
    EXPECT_TRUE(bench.delegate.SentParams().empty());
}

TEST(ParamBinding, ControlHeldByTheMouseIgnoresTheEditorsValue)
{
    BoundBench bench;
    auto* held = bench.graphics.AttachControl(std::make_unique<ProbeControl>(kArea, 5));
    auto* other =
        bench.graphics.AttachControl(std::make_unique<ProbeControl>(IRECT(100, 100, 150, 150), 5));
    bench.graphics.OnMouseDown(10.f, 10.f, {.L = true});
    bench.graphics.SetParamFromDelegate(5, 1.0);
    EXPECT_DOUBLE_EQ(held->GetValue(), 64.0 / 127.0);
    EXPECT_DOUBLE_EQ(other->GetValue(), 1.0);

    bench.graphics.OnMouseUp(10.f, 10.f, {.L = true});
    bench.graphics.SetParamFromDelegate(5, 1.0);
    EXPECT_DOUBLE_EQ(held->GetValue(), 1.0);
}

TEST(ParamBinding, UnchangedValueFromTheEditorDoesNotRedraw)
{
    BoundBench bench;
    auto* probe = bench.graphics.AttachControl(std::make_unique<ProbeControl>(kArea, 5));
    probe->ClearDirty();
    bench.graphics.SetParamFromDelegate(5, 64.0 / 127.0);
    EXPECT_FALSE(probe->IsDirty());
    bench.graphics.SetParamFromDelegate(5, 0.5);
    EXPECT_TRUE(probe->IsDirty());
}

TEST(ParamBinding, ControlWithSeveralSlotsTakesTheValueInTheMatchingSlot)
{
    BoundBench bench;
    struct Dual : IControl
    {
        Dual() : IControl(kArea, std::vector<int>{2, 5}) {}
        void Draw(Painter&) override {}
    };
    auto* dual = bench.graphics.AttachControl(std::make_unique<Dual>());
    ASSERT_EQ(dual->NVals(), 2);
    EXPECT_EQ(dual->LinkedToParam(5), 1);
    bench.graphics.SetParamFromDelegate(5, 0.25);
    EXPECT_DOUBLE_EQ(dual->GetValue(0), 0.0);
    EXPECT_DOUBLE_EQ(dual->GetValue(1), 0.25);
}

TEST(ParamBinding, UserInputSendsTheValueToTheEditorAndRunsTheAction)
{
    BoundBench bench;
    std::vector<double> seenByAction;
    auto probe = std::make_unique<ProbeControl>(kArea, 5);
    probe->SetActionFunction([&](IControl* caller) { seenByAction.push_back(caller->GetValue()); });
    auto* control = bench.graphics.AttachControl(std::move(probe));
    control->SetValueFromUserInput(1.0);
    ASSERT_EQ(bench.delegate.SentParams().size(), 1u);
    EXPECT_EQ(bench.delegate.SentParams()[0].paramIdx, 5);
    EXPECT_DOUBLE_EQ(bench.delegate.SentParams()[0].normalized, 1.0);
    EXPECT_EQ(bench.delegate.GetParam(5)->Value(), 127.0);
    EXPECT_EQ(seenByAction, std::vector<double>{1.0});
}

TEST(ParamBinding, ValuesAreClampedAndNonNumbersIgnored)
{
    BoundBench bench;
    auto* probe = bench.graphics.AttachControl(std::make_unique<ProbeControl>(kArea));
    probe->SetValue(1.5);
    EXPECT_EQ(probe->GetValue(), 1.0);
    probe->SetValue(std::numeric_limits<double>::quiet_NaN());
    EXPECT_EQ(probe->GetValue(), 1.0);
    probe->SetValue(-2.0);
    EXPECT_EQ(probe->GetValue(), 0.0);
    probe->SetValue(0.5, 3); // no such slot
    EXPECT_EQ(probe->GetValue(3), 0.0);
}

TEST(ParamBinding, ParameterTheEditorDoesNotHaveOrNeverSetUpCountsAsUnbound)
{
    BoundBench bench;
    auto* missing = bench.graphics.AttachControl(std::make_unique<ProbeControl>(kArea, 99));
    auto* neverSetUp = bench.graphics.AttachControl(std::make_unique<ProbeControl>(kArea, 7));
    EXPECT_EQ(missing->GetParam(), nullptr);
    EXPECT_EQ(neverSetUp->GetParam(), nullptr);
    EXPECT_EQ(neverSetUp->GetValue(), 0.0);
    missing->SetValueFromUserInput(1.0);
    neverSetUp->SetValueFromUserInput(1.0);
    EXPECT_TRUE(bench.delegate.SentParams().empty());
}
