#include "core/IParam.h"
#include "support/ToolkitBench.h"
#include "ui/IVNumberBoxControl.h"

#include <gtest/gtest.h>
#include <tuple>
#include <utility>
#include <vector>

namespace
{
constexpr int kController = 0;
const IRECT kBox(100.f, 100.f, 300.f, 140.f);
// Inside the readout, the left three quarters of the box.
constexpr float kX = 150.f;
constexpr float kY = 120.f;
constexpr IMouseMod kLeft{.L = true};

// A box bound to a controller number 0 to 127, on a context that forwards edits to the setting.
struct NumberBoxBench : ToolkitBench
{
    explicit NumberBoxBench(int start = 64) : ToolkitBench(2)
    {
        delegate.GetParam(kController)
            ->InitInteger("PEDAL1 Controller", 0, 0, 127, "", IParam::kFlagStepped);
        delegate.GetParam(kController)->Set(start);
        delegate.OpenView(graphics, graphics);
        box = graphics.AttachControl(std::make_unique<IVNumberBoxControl>(
            kBox, kController, nullptr, "", IVStyle(), 50.0, 1.0, 100.0, "%0.0f"));
    }

    void Drag(float dY, IMouseMod mod = kLeft)
    {
        graphics.OnMouseDown(kX, kY, mod);
        graphics.OnMouseDrag(kX, kY + dY, 0.f, dY, mod);
        graphics.OnMouseUp(kX, kY + dY, mod);
    }
    void Wheel(float d, IMouseMod mod = {}) { graphics.OnMouseWheel(kX, kY, mod, d); }
    double Setting() const { return delegate.GetParam(kController)->Value(); }
    // Runs the frames of a button's splash to its end.
    void Settle()
    {
        for (double t = 0.0; t <= 200.0 && graphics.IsAnimating(); t += 16.0)
            graphics.OnFrame(t);
    }

    IVNumberBoxControl* box = nullptr;
};
} // namespace

TEST(NumberBox, DragsWheelAndTypedTextStepWithinTheRange)
{
    // Drags: one per pixel, a tenth with Shift or Ctrl; vertical movement, up is negative.
    // A case: the start, the modifiers, the moves, the result.
    using Drag = std::tuple<int, IMouseMod, std::vector<float>, double>;
    for (const auto& [start, mod, moves, expected] :
         {Drag{64, kLeft, {-10.f}, 74.0}, Drag{64, {.L = true, .C = true}, {-10.f}, 65.0},
          Drag{64, {.L = true, .S = true}, std::vector<float>(11, -1.f), 65.0},
          Drag{120, kLeft, {-20.f, -10.f, 1.f}, 126.0}, // back from the maximum at once
          Drag{3, kLeft, {50.f}, 0.0}})
    {
        NumberBoxBench bench(start);
        for (float dY : moves)
            bench.Drag(dY, mod);
        EXPECT_EQ(bench.Setting(), expected) << start << " " << moves.size();
        EXPECT_EQ(bench.box->GetReadoutText(), std::to_string(static_cast<int>(expected)));
    }
    // The wheel: one per notch, small deltas add up, turning back drops what had added up.
    // A case: the modifiers, the deltas, the result from 64 and how many values were sent to the
    // editor.
    using Wheel = std::tuple<IMouseMod, std::vector<float>, double, std::size_t>;
    for (const auto& [mod, deltas, expected, sends] :
         {Wheel{{}, {1.f}, 65.0, 1}, Wheel{{.S = true}, std::vector<float>(11, 1.f), 65.0, 0},
          Wheel{{}, {0.25f, 0.25f, 0.25f}, 64.0, 0},
          Wheel{{}, {0.25f, 0.25f, 0.25f, 0.25f}, 65.0, 1},
          Wheel{{}, {0.75f, -0.5f, -0.5f}, 63.0, 1}})
    {
        NumberBoxBench bench(64);
        for (float d : deltas)
            bench.Wheel(d, mod);
        EXPECT_EQ(bench.Setting(), expected) << deltas.size();
        if (!mod.S) // with Shift only where the setting ends is pinned
        {
            EXPECT_EQ(bench.delegate.sentParams.size(), sends) << deltas.size();
        }
    }
    // A double click's text entry reads the leading decimal number, clamped, or zero.
    const std::pair<const char*, double> typed[] = {
        {"200", 127.0}, {" 12 ", 12.0},  {"NAN", 0.0},  {"-inf", 0.0}, {"abc", 0.0},
        {"1e999", 0.0}, {"12abc", 12.0}, {"0x10", 0.0}, {"+-3", 0.0},  {"1e2", 100.0}};
    for (const auto& [text, expected] : typed)
    {
        NumberBoxBench bench(64);
        bench.platform.ScriptTextEntry(text);
        bench.graphics.OnMouseDblClick(kX, kY, kLeft);
        EXPECT_EQ(bench.Setting(), expected) << text;
        // The entry opens over the readout with the value shown.
        EXPECT_EQ(bench.platform.TextEntries(),
                  (std::vector<std::pair<std::string, IRECT>>{{"64", IRECT(100, 100, 250, 140)}}));
    }
}

TEST(NumberBox, PlusAndMinusStepAfterTheirSplashAndADisabledBoxFadesAndIgnoresTheMouse)
{
    NumberBoxBench bench(64);
    bench.Click(275.f, 110.f); // "+"
    EXPECT_EQ(bench.Setting(), 64.0);
    bench.Settle();
    EXPECT_EQ(bench.Setting(), 65.0);
    bench.Click(275.f, 130.f); // "-"
    bench.Settle();
    EXPECT_EQ(bench.Setting(), 64.0);

    bench.box->SetDisabled(true);
    for (const IControl* child : bench.box->GetChildren())
        EXPECT_FLOAT_EQ(child->GetBlend().mWeight, 0.25f);
    bench.Click(275.f, 110.f);
    bench.Settle();
    bench.Drag(-10.f);
    bench.Wheel(1.f);
    EXPECT_EQ(bench.Setting(), 64.0);
}

TEST(NumberBox, HoldingTheBoxHidesTheCursorAndFramesAnEditGestureThatAlwaysEnds)
{
    NumberBoxBench bench;
    bench.graphics.OnMouseDown(kX, kY, kLeft);
    EXPECT_TRUE(bench.platform.IsCursorHidden());
    EXPECT_EQ(bench.delegate.beginEdits, std::vector<int>{kController});
    bench.graphics.OnMouseUp(kX, kY, kLeft);
    EXPECT_FALSE(bench.platform.IsCursorHidden());

    // The platform loses the mouse-up: the cursor comes back and the gesture ends.
    bench.graphics.OnMouseDown(kX, kY, kLeft);
    bench.graphics.ReleaseMouseCapture();
    EXPECT_FALSE(bench.platform.IsCursorHidden());
    EXPECT_EQ(bench.delegate.endEdits, (std::vector<int>{kController, kController}));

    // A double click ends every gesture it began.
    bench.graphics.OnMouseDblClick(kX, kY, kLeft);
    bench.graphics.OnMouseUp(kX, kY, kLeft);
    EXPECT_EQ(bench.delegate.beginEdits.size(), bench.delegate.endEdits.size());
    EXPECT_FALSE(bench.platform.IsCursorHidden());
}

TEST(NumberBoxFormat, AFormatThatIsNotOneFloatingPointConversionFallsBackToWholeNumbers)
{
    ToolkitBench bench(2);
    auto* box = bench.graphics.AttachControl(std::make_unique<IVNumberBoxControl>(
        kBox, kNoParameter, nullptr, "", IVStyle(), 42.4, 1.0, 100.0, "%s"));
    EXPECT_EQ(box->GetFormat(), "%0.0f");
    EXPECT_EQ(box->GetReadoutText(), "42");
}
