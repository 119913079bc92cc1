// render_bench: how long the editor's whole screen takes to render at scale 1 (1024 x 768) and
// scale 2 (2048 x 1536), and what an idle editor window costs over a stretch of time.
//
//   render_bench [--idle-seconds=N] [Google Benchmark options]
//
// N defaults to 10; 0 skips the idle measurement. Runs on Qt's offscreen platform unless
// QT_QPA_PLATFORM names another.

#include "app/QtTimerBackend.h"
#include "app/ViewWidget.h"
#include "editor/ctrlWaveStomplet.h"

#include <QApplication>
#include <QEvent>
#include <QEventLoop>
#include <QImage>
#include <QTimer>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <memory>
#include <string>
#include <vector>

namespace renderbench
{
// The editor with its real timers and its view, as the program builds them.
struct EditorView
{
    QtTimerBackend timers;
    ctrlWaveStomplet editor;
    ViewWidget view{editor};
};

EditorView* gEditorView = nullptr;

// Counts the paint events a widget receives.
class PaintCounter : public QObject
{
public:
    explicit PaintCounter(QWidget& widget) { widget.installEventFilter(this); }
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            ++paints;
        return false;
    }
    int paints = 0;
};

void RenderFullScreen(benchmark::State& state)
{
    const auto scale = static_cast<float>(state.range(0));
    for (auto _ : state)
    {
        const QImage image = gEditorView->view.RenderImage(scale);
        benchmark::DoNotOptimize(image.constBits());
    }
    state.SetLabel(scale == 1.f ? "1024 x 768" : "2048 x 1536");
}
BENCHMARK(RenderFullScreen)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

double ProcessCpuMs()
{
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
}

// Shows the view, lets it settle, then runs the event loop for `seconds` untouched.
void MeasureIdle(ViewWidget& view, int seconds)
{
    view.show();
    QEventLoop settle;
    QTimer::singleShot(500, &settle, &QEventLoop::quit);
    settle.exec();

    PaintCounter counter(view);
    const double cpuBefore = ProcessCpuMs();
    QEventLoop idle;
    QTimer::singleShot(seconds * 1000, &idle, &QEventLoop::quit);
    idle.exec();
    const double cpuMs = ProcessCpuMs() - cpuBefore;
    std::printf("Idle window over %d s: %.1f ms CPU (%.3f %% of one core), %d repaints\n", seconds,
                cpuMs, cpuMs / (seconds * 10.0), counter.paints);
}

// Takes --idle-seconds=N out of the arguments; the default when absent.
int TakeIdleSeconds(int& argc, char** argv, int fallback)
{
    static constexpr const char* kOption = "--idle-seconds=";
    int seconds = fallback;
    int kept = 0;
    for (int i = 0; i < argc; ++i)
    {
        if (std::strncmp(argv[i], kOption, std::strlen(kOption)) == 0)
            seconds = std::max(0, std::atoi(argv[i] + std::strlen(kOption)));
        else
            argv[kept++] = argv[i];
    }
    argc = kept;
    return seconds;
}
} // namespace renderbench

int main(int argc, char* argv[])
{
    const int idleSeconds = renderbench::TakeIdleSeconds(argc, argv, 10);
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);

    auto editorView = std::make_unique<renderbench::EditorView>();
    renderbench::gEditorView = editorView.get();

    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();

    if (idleSeconds > 0)
        renderbench::MeasureIdle(editorView->view, idleSeconds);
    return 0;
}
