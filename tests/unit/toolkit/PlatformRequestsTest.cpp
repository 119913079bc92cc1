#include "support/ToolkitBench.h"

#include <gtest/gtest.h>
#include <memory>

TEST(PlatformRequests, MessageBoxAnsweredLaterReportsThroughItsCompletion)
{
    ToolkitBench bench;
    std::optional<EMsgBoxResult> result;
    bench.graphics.ShowMessageBox("Current Preset not saved. \nContinue without saving?", "",
                                  EMsgBoxType::kOkCancel,
                                  [&result](EMsgBoxResult r) { result = r; });
    ASSERT_EQ(bench.platform.MessageBoxes().size(), 1u);
    EXPECT_EQ(bench.platform.MessageBoxes()[0].type, EMsgBoxType::kOkCancel);
    EXPECT_FALSE(result.has_value());
    bench.platform.AnswerMessageBox(EMsgBoxResult::kCancel);
    EXPECT_EQ(result, EMsgBoxResult::kCancel);
}

TEST(PlatformRequests, FilePromptHandsOnThePathOrTheEmptyTextWhenCancelled)
{
    ToolkitBench bench;
    std::vector<std::string> paths;
    auto keep = [&paths](std::string path) { paths.push_back(std::move(path)); };
    bench.platform.ScriptFilePath("/presets/live.csx");
    bench.platform.ScriptFilePath("");
    bench.graphics.PromptForFile(EFileAction::kOpen, "csx", keep);
    bench.graphics.PromptForFile(EFileAction::kSave, "csx", keep);
    EXPECT_EQ(paths, (std::vector<std::string>{"/presets/live.csx", ""}));
    EXPECT_EQ(bench.platform.FilePrompts()[1].action, EFileAction::kSave);
    EXPECT_EQ(bench.platform.FilePrompts()[1].extension, "csx");
}

TEST(PlatformRequests, WithoutAPlatformTheCompletionRunsAtOnceWithNoResult)
{
    ToolkitBench bench;
    bench.graphics.SetPlatformUi(nullptr);
    std::optional<EMsgBoxResult> result;
    std::optional<std::string> path;
    bench.graphics.ShowMessageBox("x", "", EMsgBoxType::kOk,
                                  [&result](EMsgBoxResult r) { result = r; });
    bench.graphics.PromptForFile(EFileAction::kOpen, "bin",
                                 [&path](std::string p) { path = std::move(p); });
    EXPECT_EQ(result, EMsgBoxResult::kNoResult);
    EXPECT_EQ(path, std::string());
    EXPECT_FALSE(bench.graphics.OpenURL("manual.pdf"));
}

TEST(PlatformRequests, AnswerArrivingAfterTheViewIsGoneIsDropped)
{
    ScriptedPlatformUi platform;
    FakeEditorDelegate delegate(1);
    bool called = false;
    {
        IGraphics graphics(delegate, 1024, 768);
        graphics.SetPlatformUi(&platform);
        graphics.ShowMessageBox("Firmware update finished.", "", EMsgBoxType::kOk,
                                [&called](EMsgBoxResult) { called = true; });
    }
    EXPECT_TRUE(platform.AnswerMessageBox(EMsgBoxResult::kOk));
    EXPECT_FALSE(called);
}
