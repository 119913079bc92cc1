// ctrlwave-stomplet: the editor for the ctrlWave Stomplet foot controller.

#include "app/AppHost.h"
#include "app/CarriedManual.h"
#include "app/MainWindow.h"
#include "app/PreferencesDialog.h"
#include "app/QtTimerBackend.h"
#include "app/SingleInstance.h"
#include "app/ViewWidget.h"
#include "core/Trace.h"
#include "editor/ctrlWaveStomplet.h"
#include "midi/InProcessMidi.h"
#include "midi/LibraryDiagnostics.h"
#include "midi/RtMidiPorts.h"
#include "sim/DemoStomplet.h"
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
#include <string>
#include <string_view>
#include <variant>

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

// What the command line says when the editor is not to start: the text to print (on standard
// output for --help and --version, else one line on standard error) and the exit status.
struct CommandLineAnswer
{
    QString text;
    int exitStatus = 0;
};

// Qt's own options with a value, which QApplication takes out of the command line itself; they are
// accepted here so that the command line can be read before QApplication exists (reading it needs
// no display, so --help, --version and a bad argument are answered without one).
const QStringList kQtOptionsWithValue{
    QStringLiteral("platform"),        QStringLiteral("platformpluginpath"),
    QStringLiteral("platformtheme"),   QStringLiteral("style"),
    QStringLiteral("stylesheet"),      QStringLiteral("display"),
    QStringLiteral("qwindowgeometry"), QStringLiteral("qwindowtitle"),
    QStringLiteral("qwindowicon")};

// Reads the command line `arguments` (the program's name first); prints nothing and never ends the
// process.
std::variant<Options, CommandLineAnswer> ParseOptions(const QStringList& arguments)
{
    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    for (const QString& name : kQtOptionsWithValue)
    {
        QCommandLineOption qtOption(name, QString(), QStringLiteral("value"));
        qtOption.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(qtOption);
    }
    parser.setApplicationDescription(
        QStringLiteral("Editor for the ctrlWave Stomplet MIDI foot controller."));
    const QCommandLineOption help = parser.addHelpOption();
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
    if (!parser.parse(arguments))
        return CommandLineAnswer{parser.errorText(), 1};
    if (parser.isSet(help) || parser.optionNames().contains(QStringLiteral("help-all")))
        // Read before QApplication exists, the text cannot know the program's name by itself.
        return CommandLineAnswer{parser.helpText().replace(QStringLiteral("<executable_name>"),
                                                           QStringLiteral("ctrlwave-stomplet")),
                                 0};
    if (parser.isSet(version))
        return CommandLineAnswer{
            QStringLiteral("ctrlwave-stomplet %1\n").arg(QCoreApplication::applicationVersion()),
            0};
    if (!parser.positionalArguments().isEmpty())
        return CommandLineAnswer{QStringLiteral("unexpected argument \"%1\" (see --help)")
                                     .arg(parser.positionalArguments().constFirst()),
                                 1};

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
        const std::string value = parser.value(midiApi).toStdString();
        const std::variant<MidiSystem, std::string> system = ParseMidiSystemOption(value);
        if (const std::string* error = std::get_if<std::string>(&system))
            return CommandLineAnswer{QString::fromStdString(*error), 1};
        options.midiApi = std::get<MidiSystem>(system);
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

int RunEditor(const Options& options)
{
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

    const int status = QApplication::exec();

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

    QApplication::setApplicationName(QStringLiteral("ctrlWaveStomplet"));
    QApplication::setOrganizationName(QStringLiteral("korvoaudio"));
    QApplication::setApplicationVersion(QStringLiteral(STOMPLET_VERSION));
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    const std::variant<Options, CommandLineAnswer> parsed = ParseOptions(arguments);
    if (const CommandLineAnswer* answer = std::get_if<CommandLineAnswer>(&parsed))
    {
        if (answer->exitStatus == 0)
            std::fputs(qPrintable(answer->text), stdout);
        else
            PrintLine(answer->text);
        return answer->exitStatus;
    }
    QApplication qtApp(argc, argv);
    try
    {
        return RunEditor(std::get<Options>(parsed));
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
