// ctrlwave-stomplet: the editor for the ctrlWave Stomplet foot controller.

#include "app/AppHost.h"
#include "app/CarriedManual.h"
#include "app/DemoStomplet.h"
#include "app/InProcessMidi.h"
#include "app/LibraryDiagnostics.h"
#include "app/MainWindow.h"
#include "app/PreferencesDialog.h"
#include "app/QtTimerBackend.h"
#include "app/RtMidiPorts.h"
#include "app/SingleInstance.h"
#include "app/ViewWidget.h"
#include "core/Trace.h"
#include "editor/ctrlWaveStomplet.h"
#include "toolkit/IGraphics.h"
#include "toolkit/ITextControl.h"
#include "ui/ControlTags.h"
#include "ui/DemoBadge.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QElapsedTimer>
#include <QImage>
#include <QMessageBox>
#include <QStandardPaths>
#include <QTimer>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <memory>
#include <string_view>

namespace
{
struct Options
{
    QString settingsDir;
    MidiSystem midiApi = MidiSystem::kAlsa;
    QString screenshotFile; // empty: run normally
    bool demo = false;      // the built-in virtual box on in-process ports
};

// A screenshot waits for the start to settle (the box's mode known, or nothing to wait for), at
// most this long.
constexpr qint64 kScreenshotDeadlineMs = 2000;
constexpr int kScreenshotPollMs = 20;

// Qt's debug, information and warning messages (a missing runtime folder, a platform plugin's
// limits) are the library's words: dropped without the trace. Critical and fatal ones stay.
void DropQtMessage(QtMsgType type, const QMessageLogContext&, const QString& message)
{
    if (type == QtCriticalMsg || type == QtFatalMsg)
        std::fprintf(stderr, "%s\n", qPrintable(message));
}

void PrintLine(const QString& line)
{
    std::fprintf(stderr, "ctrlwave-stomplet: %s\n", qPrintable(line));
    std::fflush(stderr);
}

// A bad argument ends the process with status 1 after one line on stderr.
Options ParseOptions(const QApplication& app)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Editor for the ctrlWave Stomplet MIDI foot controller."));
    parser.addHelpOption();
    // Answered by the program's own name, like `stomplet` and `stomplet-sim`, not by the
    // application name Qt's version option prints (that one names the settings folder).
    const QCommandLineOption version({QStringLiteral("v"), QStringLiteral("version")},
                                     QStringLiteral("Displays version information."));
    parser.addOption(version);
    const QCommandLineOption settingsDir(
        QStringLiteral("settings-dir"),
        QStringLiteral("Keep settings.ini and the written-out manual in <dir>."),
        QStringLiteral("dir"));
    const QCommandLineOption midiApi(
        QStringLiteral("midi-api"),
        QStringLiteral("MIDI system: alsa or jack (default: alsa when the sequencer exists)."),
        QStringLiteral("api"));
    const QCommandLineOption screenshot(
        QStringLiteral("screenshot"),
        QStringLiteral("Render the window to the PNG <file> once the start has settled, and exit."),
        QStringLiteral("file"));
    parser.addOption(settingsDir);
    parser.addOption(midiApi);
    parser.addOption(screenshot);
    const QCommandLineOption demo(
        QStringLiteral("demo"),
        QStringLiteral("Connect to a built-in virtual box that plays its pedals and switches; "
                       "settings.ini is neither read nor written."));
    parser.addOption(demo);
    parser.process(app);
    if (parser.isSet(version))
    {
        std::printf("ctrlwave-stomplet %s\n", qPrintable(QCoreApplication::applicationVersion()));
        std::exit(0);
    }

    Options options;
    options.settingsDir =
        parser.isSet(settingsDir)
            ? parser.value(settingsDir)
            : QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
                  QStringLiteral("/ctrlWaveStomplet");
    options.screenshotFile = parser.value(screenshot);
    options.demo = parser.isSet(demo);
    options.midiApi = DefaultMidiSystem();
    if (parser.isSet(midiApi))
    {
        const QString api = parser.value(midiApi);
        if (api == QStringLiteral("alsa"))
            options.midiApi = MidiSystem::kAlsa;
        else if (api == QStringLiteral("jack"))
            options.midiApi = MidiSystem::kJack;
        else
        {
            PrintLine(QStringLiteral("--midi-api takes alsa or jack, not \"%1\"").arg(api));
            std::exit(1);
        }
    }
    return options;
}

// Saves the view as a PNG to `file` once the start has settled (or the deadline has passed) and
// ends the event loop: status 0 when the file was written, else 1 after a line on stderr.
void ScheduleScreenshot(const IPlugAPP& app, ViewWidget& view, const QString& file)
{
    auto* poll = new QTimer(&view);
    poll->setInterval(kScreenshotPollMs);
    auto clock = std::make_shared<QElapsedTimer>();
    clock->start();
    QObject::connect(
        poll, &QTimer::timeout, &view,
        [&app, &view, file, clock, poll]
        {
            const qint64 elapsed = clock->elapsed();
            if (!app.StartupSettled() && elapsed < kScreenshotDeadlineMs)
                return;
            poll->stop();
            // The design at its own size, whatever size the window has, on the screen's pixels.
            const float scale = static_cast<float>(view.devicePixelRatioF());
            if (!view.RenderImage(scale).save(file, "PNG"))
            {
                PrintLine(QStringLiteral("cannot write the screenshot \"%1\"").arg(file));
                QCoreApplication::exit(1);
                return;
            }
            // The status lines as the picture shows them, for scripts and tests.
            for (const int tag : {kCtrlTagDeviceText1, kCtrlTagDeviceText2, kCtrlTagDeviceText3})
                if (const auto* line =
                        dynamic_cast<const ITextControl*>(view.Graphics().GetControlWithTag(tag)))
                    std::printf("%s\n", line->GetStr().c_str());
            std::fflush(stdout);
            QCoreApplication::exit(0);
        });
    poll->start();
}

int RunEditor(QApplication& qtApp)
{
    const Options options = ParseOptions(qtApp);
    // A screenshot run is a private, short-lived start: it neither hands over to a running
    // editor nor answers later starts.
    const bool screenshot = !options.screenshotFile.isEmpty();
    // So is a demo: it must not take the place of the user's editor.
    const bool privateStart = screenshot || options.demo;

    // The folder is claimed before anything else starts, so that of two starts at the same moment
    // only one goes on to open the ports and the settings. Requests are served by the event loop,
    // by which time the window exists.
    std::unique_ptr<MainWindow> window;
    SingleInstance instance(options.settingsDir);
    if (!privateStart)
    {
        QString error;
        switch (instance.ClaimFolder(
            [&window]
            {
                Trace("a later start asked this editor to raise its window\n");
                if (window)
                    window->RaiseToFront();
            },
            error))
        {
        case SingleInstance::Claim::kFirst:
            break;
        case SingleInstance::Claim::kHandedOver:
            return 0;
        case SingleInstance::Claim::kUnavailable:
            PrintLine(QStringLiteral("single-instance check unavailable: ") + error);
            break;
        case SingleInstance::Claim::kUnreachable:
            PrintLine(error);
            return 1;
        }
    }

    QtTimerBackend timers;
    RtMidiPortFactory systemPorts(options.midiApi);
    // The demo's bus and box outlive the host, whose port objects send to the box.
    InProcessMidi demoBus;
    std::unique_ptr<DemoStomplet> demoBox;
    if (options.demo)
        demoBox = std::make_unique<DemoStomplet>(demoBus);
    MidiPortFactory& ports = options.demo ? static_cast<MidiPortFactory&>(demoBus) : systemPorts;
    const std::filesystem::path settingsFolder =
        QDir(options.settingsDir).absolutePath().toStdString();
    auto editor = std::make_unique<ctrlWaveStomplet>();
    editor->SetUserManual({settingsFolder, ReadCarriedManual});
    auto host = std::make_unique<AppHost>(
        std::move(editor), ports, settingsFolder,
        [](std::string_view line)
        { PrintLine(QString::fromUtf8(line.data(), static_cast<int>(line.size()))); });
    if (options.demo)
    {
        AppSettings demoSettings;
        demoSettings.midiInputPort = std::string(DemoStomplet::kPortName);
        demoSettings.midiOutputPort = std::string(DemoStomplet::kPortName);
        host->UseSettingsWithoutFile(demoSettings);
    }
    const AppHost::StartResult started = host->Start();

    MainWindow::Actions actions;
    actions.preferences = [&host, &options](QWidget* parent)
    { PreferencesDialog::Run(*host, parent, !options.demo); };
    window = std::make_unique<MainWindow>(host->App(), actions);
    auto* view = new ViewWidget(host->App());
    if (options.demo)
        AttachDemoBadge(view->Graphics());
    window->SetView(view);
    view->SetSizeChangedFunc([&window](int width, int height)
                             { window->FitClientArea(width, height); });
    window->ShowCentred();

    if (screenshot)
        ScheduleScreenshot(host->App(), *view, options.screenshotFile);

    if (demoBox)
    {
        // The box plays its pedals and switches on the main thread's timer.
        auto* performer = new QTimer(window.get());
        QObject::connect(performer, &QTimer::timeout, window.get(),
                         [&demoBox] { demoBox->Perform(); });
        performer->start(static_cast<int>(DemoStomplet::kPerformPeriod.count()));
    }

    // The demo needs no sound card: MIDI then runs on the pump thread.
    if (started.audioFailed && !options.demo)
    {
        PrintLine(QStringLiteral("no audio: no sound card could play; MIDI runs on the editor's "
                                 "own clock"));
        ShowSoundcardMessage(window.get());
    }

    const int status = qtApp.exec();

    host->App().CloseView();
    window.reset();
    host.reset();
    return status;
}
} // namespace

int main(int argc, char* argv[])
{
    // The libraries' and Qt's own diagnostics only with the trace; our own lines always.
    const bool trace = qEnvironmentVariableIsSet("STOMPLET_TRACE");
    RouteLibraryDiagnostics(trace);
    if (trace)
        SetTraceSink([](std::string_view line)
                     { std::fwrite(line.data(), 1, line.size(), stderr); });
    else
        qInstallMessageHandler(&DropQtMessage);

    // --help and --version print and exit: they need no display, so they work without one (in a
    // terminal over ssh, or when the man pages are made at build time).
    for (int i = 1; i < argc; ++i)
    {
        const std::string_view arg = argv[i];
        if (arg == "-h" || arg == "--help" || arg == "--help-all" || arg == "-v" ||
            arg == "--version")
            qputenv("QT_QPA_PLATFORM", "offscreen");
    }

    QApplication qtApp(argc, argv);
    QApplication::setApplicationName(QStringLiteral("ctrlWaveStomplet"));
    QApplication::setOrganizationName(QStringLiteral("korvoaudio"));
    QApplication::setApplicationVersion(QStringLiteral(STOMPLET_VERSION));
    try
    {
        return RunEditor(qtApp);
    }
    catch (const std::exception& e)
    {
        PrintLine(QStringLiteral("fatal error: ") + QString::fromLocal8Bit(e.what()));
    }
    catch (...)
    {
        PrintLine(QStringLiteral("fatal error"));
    }
    return 1;
}
