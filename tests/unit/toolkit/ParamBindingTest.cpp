#include "core/IParam.h"
#include "support/ToolkitBench.h"

#include <gtest/gtest.h>

namespace
{
const IRECT kArea(0.f, 0.f, 50.f, 50.f);

struct BoundBench : ToolkitBench
{
    BoundBench()
    {
        delegate.GetParam(5)->InitInteger("PEDAL1 Controller", 64, 0, 127);
        delegate.OpenView(graphics, graphics);
    }
};
} // namespace

TEST(ParamBinding, ControlsStartWithTheirParametersValueAndFollowTheEditorWithoutSendingBack)
{
    BoundBench bench;
    auto* a = bench.graphics.AttachControl(std::make_unique<ProbeControl>(kArea, 5));
    auto* b = bench.graphics.AttachControl(std::make_unique<ProbeControl>(kArea, 5));
    EXPECT_DOUBLE_EQ(a->GetValue(), 64.0 / 127.0);
    bench.delegate.SendParamToView(5, 100.0, false);
    EXPECT_DOUBLE_EQ(a->GetValue(), 100.0 / 127.0);
    EXPECT_DOUBLE_EQ(b->GetValue(), 100.0 / 127.0);
    EXPECT_TRUE(bench.delegate.SentParams().empty());
}

TEST(ParamBinding, ControlHeldByTheMouseIgnoresTheEditorsValue)
{
    BoundBench bench;
    auto* held = bench.graphics.AttachControl(std::make_unique<ProbeControl>(kArea, 5));
    bench.graphics.OnMouseDown(10.f, 10.f, {.L = true});
    bench.graphics.SetParamFromDelegate(5, 1.0);
    EXPECT_DOUBLE_EQ(held->GetValue(), 64.0 / 127.0);

    bench.graphics.OnMouseUp(10.f, 10.f, {.L = true});
    bench.graphics.SetParamFromDelegate(5, 1.0);
    EXPECT_DOUBLE_EQ(held->GetValue(), 1.0);
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
    EXPECT_EQ(bench.delegate.GetParam(5)->Value(), 127.0);
    EXPECT_EQ(seenByAction, std::vector<double>{1.0});
}

TEST(ParamBinding, ParameterTheEditorDoesNotHaveOrNeverSetUpSendsNothing)
{
    BoundBench bench;
    auto* missing = bench.graphics.AttachControl(std::make_unique<ProbeControl>(kArea, 99));
    auto* neverSetUp = bench.graphics.AttachControl(std::make_unique<ProbeControl>(kArea, 7));
    missing->SetValueFromUserInput(1.0);
    neverSetUp->SetValueFromUserInput(1.0);
    EXPECT_TRUE(bench.delegate.SentParams().empty());
}
