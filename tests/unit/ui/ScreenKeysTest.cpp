#include "device/ParamTable.h"
#include "support/EditorBench.h"
#include "toolkit/TooltipLookup.h"
#include "ui/ControlTags.h"
#include "ui/PageOverlays.h"

#include <gtest/gtest.h>
#include <string>

namespace
{
using editor_bench::EditorBench;

IKeyPress Key(EKey key, char character = 0, IMouseMod mod = {})
{
    return {key, character, mod};
}
const IKeyPress kEscape = Key(EKey::kEscape);

struct KeyBench : EditorBench
{
    // A key, then the frames that carry any splash to its end.
    bool Press(const IKeyPress& key)
    {
        const bool used = graphics.OnKeyDown(key);
        Settle();
        return used;
    }
    // The tooltip at (x, y) holds `part`.
    bool Says(float x, float y, const std::string& part) const
    {
        return TooltipAt(graphics, x, y).find(part) != std::string::npos;
    }
};
} // namespace

TEST(ScreenKeys, EscapeClosesTheOverlaysButNotDuringATransferAndCtrlKeysPressTabsLoadAndSave)
{
    KeyBench bench;
    ShowAboutPage(bench.graphics);
    OpenFirmwareWindow(bench.graphics);
    EXPECT_TRUE(bench.Press(kEscape)); // About lies on top
    EXPECT_EQ(bench.GroupState("aboutcontrols"), "hidden");
    EXPECT_FALSE(bench.Press(Key(EKey::kCharacter, '2', {.C = true}))); // tabs greyed out

    bench.graphics.DisableGroup(kGroupFirmwareUpdate, true); // a transfer runs
    EXPECT_FALSE(bench.Press(kEscape));
    EXPECT_EQ(bench.GroupState("fwupdatecontrols"), "shown");
    bench.graphics.DisableGroup(kGroupFirmwareUpdate, false);
    EXPECT_TRUE(bench.Press(kEscape));
    EXPECT_EQ(bench.GroupState("fwbgcontrols"), "hidden");
    EXPECT_FALSE(bench.Press(kEscape)); // nothing left to close

    EXPECT_TRUE(bench.Press(Key(EKey::kCharacter, '3', {.C = true})));
    EXPECT_EQ(bench.GroupState("pedal2controls"), "shown");
    bench.Press(Key(EKey::kTab)); // on from the tabs into the page
    EXPECT_EQ(bench.graphics.GetKeyboardFocus().GetFocus()->GetName(), "MIDI Channel");
    EXPECT_TRUE(bench.Press(Key(EKey::kCharacter, '1', {.C = true})));
    EXPECT_EQ(bench.GroupState("globalcontrols"), "shown");
    EXPECT_FALSE(bench.Press(Key(EKey::kCharacter, '4', {.C = true})));
    EXPECT_TRUE(bench.port.sent.empty());

    // Ctrl+O and Ctrl+S are LOAD and SAVE: their prompt after the splash, as for a click.
    EXPECT_TRUE(bench.Press(Key(EKey::kCharacter, 'o', {.C = true})));
    EXPECT_TRUE(bench.Press(Key(EKey::kCharacter, 's', {.C = true})));
    ASSERT_EQ(bench.platform.FilePrompts().size(), 2u);
    EXPECT_EQ(bench.platform.FilePrompts()[0].action, EFileAction::kOpen);
    EXPECT_EQ(bench.platform.FilePrompts()[1].action, EFileAction::kSave);
    EXPECT_EQ(bench.platform.FilePrompts()[1].extension, "csx");
}

TEST(ScreenHelp, EveryOperableControlSaysWhatItDoesAndAGreyedOneWhy)
{
    KeyBench bench;
    bench.graphics.ForAllControls(
        [](IControl& control)
        {
            if (control.TakesFocus() && !control.GetParent())
            {
                EXPECT_FALSE(control.GetTooltip().empty())
                    << control.GetName() << " at " << control.GetRECT().L << ","
                    << control.GetRECT().T;
            }
        });

    bench.editor.SendParamFromView(kJack1Mode, 1.0);             // switches: the polarity greys out
    EXPECT_TRUE(bench.Says(512.f, 518.f, "holds switches"));     // JACK 1 Polarity
    EXPECT_TRUE(bench.Says(512.f, 580.f, "two foot switches"));  // JACK 2 Mode
    EXPECT_TRUE(bench.Says(1015.f, 760.f, "larger or smaller")); // the corner resizer

    OpenFirmwareWindow(bench.graphics);
    EXPECT_TRUE(bench.Says(255.f, 23.f, "firmware window is open"));
    EXPECT_EQ(TooltipAt(bench.graphics, 300.f, 600.f), ""); // the window's picture hides the page

    // A number box's "+" speaks for its box.
    CloseFirmwareWindow(bench.graphics);
    bench.Press(Key(EKey::kCharacter, '2', {.C = true})); // JACK 1, a pedal
    EXPECT_TRUE(bench.Says(600.f, 565.f, "controller number"));
}
