// startup_bench: the editor started as `ctrlwave-stomplet --demo` starts (the same objects in the
// same order: the built-in virtual box on in-process ports, the host, the main window and its
// view), timed from process start to the end of the view's first paint, and its peak resident
// memory (VmHWM) one second later, beside that of an empty Qt window of the same size. Prints two
// results-table rows and exits.
//
//   startup_bench --empty-window   shows only a main window with the same menus and an empty
//                                  client area of the screen's design size, and prints its peak
//                                  resident memory in MiB one second after its first paint
//   STOMPLET_BENCH_EMPTY_PEAK_MIB=<that figure> startup_bench    the editor, compared with it
//
// Process start is the moment given in STOMPLET_BENCH_LAUNCH_NS (nanoseconds on the real-time
// clock, taken by the launching script just before it starts this program); without it, the
// kernel's start time of this process from /proc/self/stat (10 ms resolution).
// Runs on Qt's offscreen platform unless QT_QPA_PLATFORM names another.

#include "BenchStomplet.h"
#include "app/AppHost.h"
#include "app/CarriedManual.h"
#include "app/MainWindow.h"
#include "app/QtTimerBackend.h"
#include "app/ViewWidget.h"
#include "editor/ctrlWaveStomplet.h"
#include "midi/InProcessMidi.h"
#include "sim/DemoStomplet.h"

#include <QApplication>
#include <QEvent>
#include <QMainWindow>
#include <QMenuBar>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <functional>
#include <memory>
#include <sstream>
#include <string>
#include <unistd.h>

namespace startupbench
{
constexpr int kSettleMs = 1000;

double NowNs(clockid_t clock)
{
    timespec now{};
    clock_gettime(clock, &now);
    return static_cast<double>(now.tv_sec) * 1e9 + static_cast<double>(now.tv_nsec);
}

// Milliseconds since this process started, and how that start was known.
std::pair<double, std::string> MsSinceStart()
{
    if (const char* launch = std::getenv("STOMPLET_BENCH_LAUNCH_NS"))
        return {(NowNs(CLOCK_REALTIME) - std::strtod(launch, nullptr)) / 1e6,
                "from the script's clock at launch"};
    // Field 22 of /proc/self/stat, after the command name in parentheses.
    std::ifstream stat("/proc/self/stat");
    std::string line;
    std::getline(stat, line);
    std::istringstream fields(line.substr(line.rfind(')') + 2));
    std::string field;
    for (int i = 3; i <= 22; ++i)
        fields >> field;
    const double startNs =
        std::strtod(field.c_str(), nullptr) / static_cast<double>(sysconf(_SC_CLK_TCK)) * 1e9;
    return {(NowNs(CLOCK_BOOTTIME) - startNs) / 1e6, "from /proc/self/stat starttime"};
}

// The most memory this process has held resident so far.
double PeakResidentMiB()
{
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.starts_with("VmHWM:"))
            return std::strtod(line.c_str() + 6, nullptr) / 1024.0;
    return -1.0;
}

// The memory row: the editor's peak against the empty window's, when the script measured it.
void PrintMemoryRow()
{
    constexpr double kAllowedAboveEmptyMiB = 25.0;
    const double peak = PeakResidentMiB();
    const char* empty = std::getenv("STOMPLET_BENCH_EMPTY_PEAK_MIB");
    if (!empty)
    {
        bench::PrintRow("peak resident memory (VmHWM) 1 s after the first paint",
                        bench::Fixed(peak, 1) + " MiB", "at most 25 MiB above an empty window",
                        "not compared");
        return;
    }
    const double emptyPeak = std::strtod(empty, nullptr);
    bench::PrintRow(
        "peak resident memory (VmHWM) 1 s after the first paint, `--demo` objects, no JACK server",
        bench::Fixed(peak, 1) + " MiB; an empty Qt window of the same size " +
            bench::Fixed(emptyPeak, 1) + " MiB (+" + bench::Fixed(peak - emptyPeak, 1) + " MiB)",
        "at most 25 MiB above the empty window",
        peak - emptyPeak <= kAllowedAboveEmptyMiB ? "yes" : "no");
}

// Reports the end of the first paint the watched widget receives, once: `painted` runs then.
class FirstPaint : public QObject
{
public:
    FirstPaint(QWidget& widget, std::function<void()> painted)
        : mWidget(widget), mPainted(std::move(painted))
    {
        widget.installEventFilter(this);
    }
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
        {
            mWidget.removeEventFilter(this);
            // Runs once the paint event has been handled.
            QTimer::singleShot(0, this, mPainted);
        }
        return false;
    }

private:
    QWidget& mWidget;
    std::function<void()> mPainted;
};

// The empty window: the same main window and menus around a plain client area.
int RunEmptyWindow()
{
    QMainWindow window;
    window.menuBar()->addMenu(QStringLiteral("&File"))->addAction(QStringLiteral("Quit"));
    window.menuBar()->addMenu(QStringLiteral("&Help"))->addAction(QStringLiteral("About"));
    auto* area = new QWidget;
    area->setFixedSize(1024, 768);
    window.setCentralWidget(area);
    FirstPaint firstPaint(*area,
                          []
                          {
                              QTimer::singleShot(kSettleMs,
                                                 []
                                                 {
                                                     std::printf("%.1f\n", PeakResidentMiB());
                                                     QCoreApplication::exit(0);
                                                 });
                          });
    window.show();
    return QApplication::exec();
}
} // namespace startupbench

int main(int argc, char* argv[])
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication qtApp(argc, argv);
    if (argc > 1 && std::string(argv[1]) == "--empty-window")
        return startupbench::RunEmptyWindow();
    QtTimerBackend timers;
    InProcessMidi demoBus;
    auto demoBox = std::make_unique<DemoStomplet>(demoBus);
    const std::filesystem::path settingsFolder = bench::MakeScratchFolder("startup");
    auto editor = std::make_unique<ctrlWaveStomplet>();
    editor->SetUserManual({settingsFolder, ReadCarriedManual});
    auto host = std::make_unique<AppHost>(std::move(editor), demoBus, settingsFolder, nullptr);
    AppSettings demoSettings;
    demoSettings.midiInputPort = std::string(DemoStomplet::kPortName);
    demoSettings.midiOutputPort = std::string(DemoStomplet::kPortName);
    host->UseSettingsWithoutFile(demoSettings);
    host->Start();

    auto window = std::make_unique<MainWindow>(host->App(), MainWindow::Actions{});
    auto* view = new ViewWidget(host->App());
    window->SetView(view);
    view->SetSizeChangedFunc([&window](int width, int height)
                             { window->FitClientArea(width, height); });
    startupbench::FirstPaint firstPaint(
        *view,
        []
        {
            const auto [ms, how] = startupbench::MsSinceStart();
            bench::PrintRow("start-up to first painted frame (`--demo` objects, offscreen; " + how +
                                ")",
                            bench::Fixed(ms, 0) + " ms", "no target set", "n/a");
            QTimer::singleShot(startupbench::kSettleMs,
                               []
                               {
                                   startupbench::PrintMemoryRow();
                                   QCoreApplication::exit(0);
                               });
        });
    window->ShowCentred();

    auto* performer = new QTimer(window.get());
    QObject::connect(performer, &QTimer::timeout, window.get(), [&demoBox] { demoBox->Perform(); });
    performer->start(static_cast<int>(DemoStomplet::kPerformPeriod.count()));

    const int status = qtApp.exec();
    host->App().CloseView();
    window.reset();
    host.reset();
    std::filesystem::remove_all(settingsFolder.parent_path());
    return status;
}
