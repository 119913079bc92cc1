#include "device/PresetFile.h"
#include "editor/PresetSession.h"
#include "support/EditorBench.h"
#include "support/TempFolder.h"
#include "ui/ControlTags.h"

#include <algorithm>
#include <cstdio>
#include <gtest/gtest.h>
#include <iterator>

using editor_bench::Bytes;
using editor_bench::EditorBench;
using testfiles::ReadBytes;
using testfiles::TempFolder;
using testfiles::WriteBytes;

namespace editor_preset_test
{
// F0 | 00 3F 5A | 04 configuration | 03 All Settings | 0A version 1.0 | 38 values | F7
Bytes AllSettings(const editor_bench::Values& values)
{
    Bytes message(46, 0);
    const std::uint8_t header[] = {0xF0, 0x00, 0x3F, 0x5A, 0x04, 0x03, 0x0A};
    std::copy(std::begin(header), std::end(header), message.begin());
    std::copy(values.begin(), values.end(), message.begin() + 7);
    message.back() = 0xF7;
    return message;
}

// A preset file's text with `lineEnd` after each of the 46 lines.
std::string PresetText(const Bytes& message, const std::string& lineEnd)
{
    std::string text;
    for (std::uint8_t byte : message)
    {
        char line[4];
        std::snprintf(line, sizeof line, "%02X", static_cast<unsigned>(byte));
        text += line + lineEnd;
    }
    return text;
}

editor_bench::Values Settings(EditorBench& bench)
{
    editor_bench::Values values{};
    for (int idx = 0; idx < kNumParams; ++idx)
        values[static_cast<std::size_t>(idx)] =
            static_cast<std::uint8_t>(bench.editor.GetParam(idx)->Int());
    return values;
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
    const editor_bench::Values saved = Settings(bench);
    const IControl& mark = *bench.graphics.GetControlWithTag(kCtrlTagPresetModified);
    EXPECT_FALSE(mark.IsHidden()); // the settings differ from any preset

    bench.platform.ScriptFilePath(path);
    ASSERT_TRUE(bench.SplashEnds("SAVE"));
    EXPECT_EQ(bench.platform.FilePrompts().back().action, EFileAction::kSave);
    EXPECT_EQ(bench.platform.FilePrompts().back().extension, "csx");
    const Bytes expected = AllSettings(saved);
    EXPECT_EQ(ReadBytes(path), PresetText(expected, "\r\n"));
    EXPECT_EQ(bench.Text(kCtrlTagPresetName), "live.set");
    EXPECT_FALSE(bench.editor.PresetModified());
    bench.Ticks(1);
    EXPECT_TRUE(mark.IsHidden());

    bench.Edit(kPedal2Controller, 3); // unsaved: the load asks first
    bench.port.sent.clear();
    bench.platform.ScriptFilePath(path);
    bench.platform.ScriptMessageBoxResult(EMsgBoxResult::kOk);
    ASSERT_TRUE(bench.SplashEnds("LOAD"));
    EXPECT_EQ(bench.platform.FilePrompts().back().action, EFileAction::kOpen);
    EXPECT_EQ(bench.platform.MessageBoxes().back().text, kUnsavedPresetQuestion);
    EXPECT_EQ(bench.port.sent, std::vector<Bytes>{expected});
    EXPECT_EQ(Settings(bench), saved);
    bench.Ticks(40); // the dropped edit never follows
    EXPECT_EQ(bench.port.sent.size(), 1u);
}

TEST(PresetLoad, BareLineFeedsAndVersion13LoadAndOutOfRangeValuesAreClampedBeforeSending)
{
    TempFolder folder;
    editor_bench::Values values{};
    values[kJack1Mode] = 0x7F; // "JACK 1 Mode" has two choices: clamps to 01, "Switches"
    values[kPedal1Controller] = 0x40;
    Bytes message = AllSettings(values);
    message[6] = 0x13; // version 1.9
    WriteBytes(folder.Path() / "lf.csx", PresetText(message, "\n"));

    EditorBench bench;
    bench.editor.LoadPreset((folder.Path() / "lf.csx").string());
    EXPECT_EQ(bench.editor.GetParam(kJack1Mode)->Int(), 1);
    EXPECT_EQ(bench.editor.Presets().PresetValuesKept()[kJack1Mode], 0x7F); // as read
    values[kJack1Mode] = 0x01;
    EXPECT_EQ(bench.port.sent, std::vector<Bytes>{AllSettings(values)}); // version sent is 0A
    EXPECT_EQ(bench.Text(kCtrlTagPresetName), "lf");
    EXPECT_TRUE(bench.platform.MessageBoxes().empty());
}

TEST(PresetLoad, LaterVersionOrForeignFileIsRefusedWithItsMessageAndChangesNothing)
{
    TempFolder folder;
    Bytes message = AllSettings(editor_bench::Values{});
    message[6] = 0x14; // version 2.0
    WriteBytes(folder.Path() / "v2.csx", PresetText(message, "\r\n"));
    message[6] = 0x0A;
    message[4] = 0x05; // another model
    WriteBytes(folder.Path() / "other.csx", PresetText(message, "\r\n"));

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
    WriteBytes(folder.Path() / "p.csx", PresetText(AllSettings(editor_bench::Values{}), "\r\n"));
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
    WriteBytes(folder.Path() / "p.csx", PresetText(AllSettings(editor_bench::Values{}), "\r\n"));
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
    using editor_preset_test::AllSettings;
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
