#include "support/ToolkitBench.h"

#include <gtest/gtest.h>

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
