// render_bench: how long the editor's whole screen takes to render at scale 1 (1024 x 768) and
// scale 2 (2048 x 1536): the median of 200 frames of ViewWidget::RenderImage each, after a few
// frames to warm the caches. Prints one results-table row per scale.
//
// Runs on Qt's offscreen platform unless QT_QPA_PLATFORM names another.

#include "BenchStomplet.h"
#include "app/QtTimerBackend.h"
#include "app/ViewWidget.h"
#include "editor/ctrlWaveStomplet.h"

#include <QApplication>
#include <QImage>
#include <algorithm>
#include <chrono>
#include <string>
#include <vector>

namespace renderbench
{
constexpr int kFrames = 200;
constexpr int kWarmUpFrames = 5;
// A frame at 60 frames per second.
constexpr double kTargetMs = 1000.0 / 60.0;

double MedianFrameMs(ViewWidget& view, float scale)
{
    for (int i = 0; i < kWarmUpFrames; ++i)
        view.RenderImage(scale);
    std::vector<double> frameMs;
    frameMs.reserve(kFrames);
    for (int i = 0; i < kFrames; ++i)
    {
        const auto start = std::chrono::steady_clock::now();
        const QImage image = view.RenderImage(scale);
        const auto end = std::chrono::steady_clock::now();
        if (image.isNull())
            return -1.0;
        frameMs.push_back(std::chrono::duration<double, std::milli>(end - start).count());
    }
    std::nth_element(frameMs.begin(), frameMs.begin() + kFrames / 2, frameMs.end());
    return frameMs[kFrames / 2];
}
} // namespace renderbench

int main(int argc, char* argv[])
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QtTimerBackend timers;
    ctrlWaveStomplet editor;
    ViewWidget view(editor);

    int status = 0;
    for (const int scale : {1, 2})
    {
        const double ms = renderbench::MedianFrameMs(view, static_cast<float>(scale));
        const std::string what = "full-screen render " + std::to_string(scale) + "x (" +
                                 (scale == 1 ? "1024 x 768" : "2048 x 1536") +
                                 "), median of 200 frames";
        if (ms < 0)
        {
            bench::PrintRow(what, "render failed", "below 16.7 ms (60 fps)", "no");
            status = 1;
            continue;
        }
        bench::PrintRow(what, bench::Fixed(ms, 2) + " ms", "below 16.7 ms (60 fps)",
                        bench::YesNo(ms < renderbench::kTargetMs));
    }
    return status;
}
