// ctrlwave-stomplet: the editor for the ctrlWave Stomplet foot controller.

#include "app/AppHost.h"
#include "app/MainWindow.h"
#include "app/PreferencesDialog.h"
#include "app/QtTimerBackend.h"
#include "app/RtMidiPorts.h"
#include "app/SingleInstance.h"
#include "core/Trace.h"
#include "editor/ctrlWaveStomplet.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QMessageBox>
#include <QStandardPaths>
#include <cstdio>
#include <exception>
#include <memory>

namespace
{
struct Options
{
    QString settingsDir;
    MidiSystem midiApi = MidiSystem::kAlsa;
};

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
    parser.addVersionOption();
    const QCommandLineOption settingsDir(
        QStringLiteral("settings-dir"),
        QStringLiteral("Keep settings.ini and the written-out manual in <dir>."),
        QStringLiteral("dir"));
    const QCommandLineOption midiApi(
        QStringLiteral("midi-api"),
        QStringLiteral("MIDI system: alsa or jack (default: alsa when the sequencer exists)."),
        QStringLiteral("api"));
    parser.addOption(settingsDir);
    parser.addOption(midiApi);
    parser.process(app);

    Options options;
    options.settingsDir =
        parser.isSet(settingsDir)
            ? parser.value(settingsDir)
            : QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
                  QStringLiteral("/ctrlWaveStomplet");
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

int RunEditor(QApplication& qtApp)
{
    const Options options = ParseOptions(qtApp);

    SingleInstance instance(options.settingsDir);
    if (instance.HandOverToRunningInstance())
        return 0;

    if (qEnvironmentVariableIsSet("STOMPLET_TRACE"))
        SetTraceSink([](std::string_view line)
                     { std::fwrite(line.data(), 1, line.size(), stderr); });

    QtTimerBackend timers;
    RtMidiPortFactory ports(options.midiApi);
    auto host = std::make_unique<AppHost>(
        std::make_unique<ctrlWaveStomplet>(), ports,
        QDir(options.settingsDir).absolutePath().toStdString(),
        [](std::string_view line)
        { PrintLine(QString::fromUtf8(line.data(), static_cast<int>(line.size()))); });
    const AppHost::StartResult started = host->Start();

    MainWindow::Actions actions;
    actions.preferences = [&host](QWidget* parent) { PreferencesDialog::Run(*host, parent); };
    auto window = std::make_unique<MainWindow>(host->App(), actions);
    auto* view = new QWidget;
    view->resize(1024, 768);
    window->SetView(view);
    window->ShowCentred();

    QString error;
    if (!instance.Listen([&window] { window->RaiseToFront(); }, error))
        PrintLine(QStringLiteral("single-instance check unavailable: ") + error);

    if (started.audioDeviceMissing)
    {
        auto* box =
            new QMessageBox(QMessageBox::NoIcon, QStringLiteral("Error"),
                            QStringLiteral("Please check your soundcard settings in Preferences"),
                            QMessageBox::Ok, window.get());
        box->setAttribute(Qt::WA_DeleteOnClose);
        box->open();
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
    QApplication qtApp(argc, argv);
    QApplication::setApplicationName(QStringLiteral("ctrlWaveStomplet"));
    QApplication::setOrganizationName(QStringLiteral("korvoaudio"));
    QApplication::setApplicationVersion(QStringLiteral("1.0.0"));
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
