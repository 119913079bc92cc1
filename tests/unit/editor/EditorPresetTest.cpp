#include "device/PresetFile.h"
#include "editor/PresetSession.h"
#include "support/EditorBench.h"
#include "support/TempFolder.h"
#include "ui/ControlTags.h"

#include <gtest/gtest.h>

using editor_bench::Bytes;
using editor_bench::EditorBench;
using testfiles::ReadBytes;
using testfiles::TempFolder;
using testfiles::WriteBytes;

namespace editor_preset_test
{
// The All Settings message the box is sent for `values`.
Bytes AllSettings(const editor_bench::Values& values)
{
    const AllSettingsMessage message = *BuildAllSettings(values);
    return Bytes(message.bytes.begin(), message.bytes.end());
}
} // namespace editor_preset_test

using namespace editor_preset_test;

TEST(PresetButtons, SavedPresetLoadsBackAndSendsTheIdenticalFortySixByteMessage)
{
    TempFolder folder;
    const std::string path = (folder.Path() / "live.set.csx").string();
    EditorBench bench;
    bench.Edit(kJack1Mode, 1);
    bench.Edit(kPedal2Controller, 74);
    bench.Edit(kSwitchA2Controller, 127);
    bench.Ticks(20);
    const editor_bench::Values saved = SettingsToBytes(bench.editor);
    const IControl& mark = *bench.graphics.GetControlWithTag(kCtrlTagPresetModified);
    EXPECT_FALSE(mark.IsHidden()); // the settings differ from any preset

    bench.platform.ScriptFilePath(path);
    ASSERT_TRUE(bench.SplashEnds("SAVE"));
    const Bytes expected = AllSettings(saved);
    EXPECT_EQ(ReadBytes(path), FormatPresetFile(saved));
    EXPECT_EQ(bench.Text(kCtrlTagPresetName), "live.set");
    EXPECT_FALSE(bench.editor.PresetModified());
    bench.Ticks(1);
    EXPECT_TRUE(mark.IsHidden());

    bench.Edit(kPedal2Controller, 3); // unsaved: the load asks first
    bench.port.sent.clear();
    bench.platform.ScriptFilePath(path);
    bench.platform.ScriptMessageBoxResult(EMsgBoxResult::kOk);
    ASSERT_TRUE(bench.SplashEnds("LOAD"));
    EXPECT_EQ(bench.platform.MessageBoxes().back().text, kUnsavedPresetQuestion);
    EXPECT_EQ(bench.port.sent, std::vector<Bytes>{expected});
    EXPECT_EQ(SettingsToBytes(bench.editor), saved);
    bench.Ticks(40); // the dropped edit never follows
    EXPECT_EQ(bench.port.sent.size(), 1u);
}

TEST(PresetLoad, OutOfRangeValuesAreKeptAsReadAndClampedBeforeSending)
{
    TempFolder folder;
    editor_bench::Values values{};
    values[kJack1Mode] = 0x7F; // "JACK 1 Mode" has two choices: clamps to 01, "Switches"
    values[kPedal1Controller] = 0x40;
    ASSERT_FALSE(WritePresetFile(folder.Path() / "wide.csx", values));

    EditorBench bench;
    bench.editor.LoadPreset((folder.Path() / "wide.csx").string());
    EXPECT_EQ(bench.editor.GetParam(kJack1Mode)->Int(), 1);
    EXPECT_EQ(bench.editor.Presets().PresetValuesKept()[kJack1Mode], 0x7F); // as read
    values[kJack1Mode] = 0x01;
    EXPECT_EQ(bench.port.sent, std::vector<Bytes>{AllSettings(values)});
    EXPECT_EQ(bench.Text(kCtrlTagPresetName), "wide");
    EXPECT_TRUE(bench.platform.MessageBoxes().empty());
}

TEST(PresetLoad, LaterVersionOrForeignFileIsRefusedWithItsMessageAndChangesNothing)
{
    TempFolder folder;
    const std::string text = FormatPresetFile({}); // lines of two digits and CR LF
    WriteBytes(folder.Path() / "v2.csx", std::string(text).replace(6 * 4, 2, "14")); // version 2.0
    WriteBytes(folder.Path() / "other.csx", std::string(text).replace(4 * 4, 2, "05")); // model 5

    EditorBench bench;
    bench.Edit(kPedal1Controller, 9);
    bench.editor.LoadPreset((folder.Path() / "v2.csx").string());
    EXPECT_EQ(bench.platform.MessageBoxes().back().text, kUnsupportedFileVersionText);
    bench.editor.LoadPreset((folder.Path() / "other.csx").string());
    EXPECT_EQ(bench.platform.MessageBoxes().size(), 1u); // deferred to the next idle tick
    bench.Ticks(1);
    EXPECT_EQ(bench.platform.MessageBoxes().back().text, kUnknownFileFormatText);

    EXPECT_EQ(bench.editor.GetParam(kPedal1Controller)->Int(), 9);
    EXPECT_TRUE(bench.editor.PresetModified());
    EXPECT_EQ(bench.Text(kCtrlTagPresetName), kUntitledPresetName);
    bench.Ticks(20); // the edit still goes out
    EXPECT_EQ(bench.port.sent, std::vector<Bytes>{editor_bench::WriteValue(kPedal1Controller, 9)});
}

TEST(PresetLoad, AfterARefusedFirmwareVersionALoadLeavesTheEditorTakingEdits)
{
    // Mended: a load after a refused version sent the preset but left edits unsent for good.
    TempFolder folder;
    ASSERT_FALSE(WritePresetFile(folder.Path() / "p.csx", {}));
    EditorBench bench;
    bench.Reply(editor_bench::Values{}, 9); // too old: refused, settings not taken
    bench.Ticks(1);
    bench.editor.LoadPreset((folder.Path() / "p.csx").string());
    bench.port.sent.clear();

    bench.Edit(kPedal1Controller, 9);
    EXPECT_TRUE(bench.editor.PresetModified());
    bench.Ticks(20);
    EXPECT_EQ(bench.port.sent, std::vector<Bytes>{editor_bench::WriteValue(kPedal1Controller, 9)});
}

TEST(PresetLoad, CancelAtTheUnsavedQuestionLeavesEverythingWorking)
{
    TempFolder folder;
    ASSERT_FALSE(WritePresetFile(folder.Path() / "p.csx", {}));
    EditorBench bench;
    bench.Edit(kPedal1Controller, 9);
    bench.platform.ScriptMessageBoxResult(EMsgBoxResult::kCancel);
    bench.editor.LoadPreset((folder.Path() / "p.csx").string());
    EXPECT_EQ(bench.editor.GetParam(kPedal1Controller)->Int(), 9);
    EXPECT_TRUE(bench.editor.PresetModified());
    EXPECT_EQ(bench.Text(kCtrlTagPresetName), kUntitledPresetName);

    bench.Ticks(20);
    bench.Edit(kPedal2Controller, 5);
    bench.Ticks(20);
    EXPECT_EQ(bench.port.sent,
              (std::vector<Bytes>{editor_bench::WriteValue(kPedal1Controller, 9),
                                  editor_bench::WriteValue(kPedal2Controller, 5)}));
}

TEST(PresetSave, FailedSaveSaysSoAndChangesNeitherNameNorPresetValuesNorUnsavedState)
{
    TempFolder folder;
    EditorBench bench;
    bench.Edit(kPedal1Controller, 9);
    bench.editor.SavePreset((folder.Path() / "missing" / "p.csx").string());
    ASSERT_EQ(bench.platform.MessageBoxes().size(), 1u);
    EXPECT_EQ(bench.platform.MessageBoxes()[0].text.rfind(kPresetNotSavedText, 0), 0u);
    EXPECT_EQ(bench.Text(kCtrlTagPresetName), kUntitledPresetName);
    EXPECT_EQ(bench.editor.Presets().PresetValuesKept()[kPedal1Controller], 0);
    EXPECT_TRUE(bench.editor.PresetModified());
}

TEST(UndoRedo, StepsGoToTheBoxAsEditsDoAndAnUndonePresetAsOneMessageAndAReplyForgetsThem)
{
    EditorBench bench;
    const auto rest = [&]
    {
        bench.Ticks(40);
        return std::exchange(bench.port.sent, {});
    };
    for (const int value : {5, 6, 7})
    {
        bench.Edit(kPedal1Controller, value);
        rest();
    }
    EXPECT_EQ(bench.editor.UndoName(), "PEDAL1 Controller");
    bench.editor.OnUndoRequested();
    bench.editor.OnUndoRequested();
    EXPECT_EQ(rest(), std::vector<Bytes>{editor_bench::WriteValue(0x17, 5)}); // debounced: once
    bench.editor.OnRedoRequested();
    EXPECT_EQ(rest(), std::vector<Bytes>{editor_bench::WriteValue(0x17, 6)});
    bench.editor.BeginParamEditFromView(kPedal1Controller); // a drag is one step
    for (const int value : {10, 11, 12})
        bench.Edit(kPedal1Controller, value);
    bench.editor.EndParamEditFromView(kPedal1Controller);
    rest();
    bench.editor.OnUndoRequested();
    EXPECT_EQ(rest(), std::vector<Bytes>{editor_bench::WriteValue(0x17, 6)});

    editor_bench::Values preset{};
    preset[kJack1Mode] = 1;
    const TempFolder folder;
    ASSERT_FALSE(WritePresetFile(folder.Path() / "p.csx", preset));
    bench.platform.ScriptMessageBoxResult(EMsgBoxResult::kOk); // continue without saving
    bench.editor.LoadPreset((folder.Path() / "p.csx").string());
    rest();
    EXPECT_EQ(bench.editor.RedoName(), ""); // a new step forgets what could be redone
    bench.editor.OnUndoRequested();
    editor_bench::Values before{};
    before[kPedal1Controller] = 6;
    EXPECT_EQ(rest(), std::vector<Bytes>{AllSettings(before)});
    EXPECT_EQ(bench.editor.RedoName(), "Load Preset");
    bench.Edit(kPedal2Controller, 9); // the user's edits after an undo are steps again
    rest();
    EXPECT_EQ(bench.editor.UndoName(), "PEDAL2 Controller");

    bench.Reply(before); // the box's settings replace the editor's
    bench.Ticks(1);
    EXPECT_EQ(bench.editor.UndoName(), "");
    EXPECT_EQ(bench.editor.RedoName(), "");
}
