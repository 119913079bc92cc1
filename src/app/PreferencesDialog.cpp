#include "app/PreferencesDialog.h"

#include "app/AppHost.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

namespace
{
// Port names can be long on Linux; the lists stay readable at this width and show the rest in a
// tooltip.
constexpr int kListWidth = 360;
} // namespace

void ShowSoundcardMessage(QWidget* parent)
{
    auto* box =
        new QMessageBox(QMessageBox::NoIcon, QStringLiteral("Error"),
                        QStringLiteral("Please check your soundcard settings in Preferences"),
                        QMessageBox::Ok, parent);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->open();
}

PreferencesDialog::PreferencesDialog(AppHost& host, QWidget* parent, bool tellAudioFailures,
                                     Prompts prompts)
    : QDialog(parent), mHost(host), mTellAudioFailures(tellAudioFailures),
      mPrompts(std::move(prompts)), mInput(new QComboBox), mOutput(new QComboBox)
{
    if (!mPrompts.ask)
        mPrompts.ask = [this](const QString& question)
        {
            return QMessageBox::question(this, QStringLiteral("Preferences"), question,
                                         QMessageBox::Yes | QMessageBox::No,
                                         QMessageBox::No) == QMessageBox::Yes;
        };
    if (!mPrompts.tell)
        mPrompts.tell = [this](const QString& notice)
        { QMessageBox::information(this, QStringLiteral("Preferences"), notice); };

    setWindowTitle(QStringLiteral("Preferences"));

    auto* group = new QGroupBox(QStringLiteral("MIDI Device Settings"));
    auto* groupLayout = new QVBoxLayout(group);
    groupLayout->addWidget(new QLabel(QStringLiteral("Input Device")));
    groupLayout->addWidget(mInput);
    groupLayout->addWidget(new QLabel(QStringLiteral("Output Device")));
    groupLayout->addWidget(mOutput);
    for (QComboBox* list : {mInput, mOutput})
    {
        list->setMinimumWidth(kListWidth);
        list->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    }

    auto* buttons = new QDialogButtonBox;
    QPushButton* apply = buttons->addButton(QStringLiteral("Apply"), QDialogButtonBox::ApplyRole);
    QPushButton* ok = buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
    buttons->addButton(QStringLiteral("Cancel"), QDialogButtonBox::RejectRole);
    ok->setDefault(true);
    connect(apply, &QPushButton::clicked, this,
            [this] { TellAudioResult(mHost.ApplyPreferences().audioFailed, this); });
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group);
    layout->addWidget(buttons);

    mHost.RenewIdlePortObjects();
    Fill();
    mHost.BeginPreferences();

    connect(mInput, &QComboBox::currentTextChanged, this,
            [this](const QString& name)
            {
                mInput->setToolTip(name);
                mHost.PickPort(MidiRoute::kInput, name.toStdString());
            });
    connect(mOutput, &QComboBox::currentTextChanged, this,
            [this](const QString& name)
            {
                mOutput->setToolTip(name);
                mHost.PickPort(MidiRoute::kOutput, name.toStdString());
            });
}

void PreferencesDialog::Fill()
{
    if (!mHost.Router().HasPortObjects())
        return;
    const struct
    {
        QComboBox* list;
        MidiRoute route;
    } routes[] = {{mInput, MidiRoute::kInput}, {mOutput, MidiRoute::kOutput}};
    for (const auto& [list, route] : routes)
    {
        for (const std::string& name : mHost.Router().PortNameList(route))
            list->addItem(QString::fromStdString(name));
        list->setCurrentIndex(mHost.PreferencesSelection(route));
        list->setToolTip(list->currentText());
    }
}

void PreferencesDialog::ConfirmSettingsFile()
{
    const QString path = QString::fromStdString(mHost.SettingsFilePath().string());
    switch (mHost.SettingsFileState())
    {
    case SettingsStore::FileState::kUnreadable:
        if (mPrompts.ask(
                QStringLiteral("The settings file \"%1\" could not be read when the "
                               "editor started.\n\nReplace it with these settings? Its "
                               "present content will be lost. With No the file is kept and "
                               "the settings last until the editor closes.")
                    .arg(path)))
            mHost.AllowReplacingUnreadableSettings();
        break;
    case SettingsStore::FileState::kReadOnly:
        if (mHost.FirstReadOnlyNotice())
            mPrompts.tell(QStringLiteral("The settings file \"%1\" is read-only: these settings "
                                         "last until the editor closes.")
                              .arg(path));
        break;
    case SettingsStore::FileState::kWritable:
        break;
    }
}

void PreferencesDialog::done(int result)
{
    QDialog::done(result);
    const bool accepted = result == QDialog::Accepted;
    if (accepted)
        ConfirmSettingsFile();
    const AppHost::StartResult applied =
        accepted ? mHost.AcceptPreferences() : mHost.CancelPreferences();
    // The dialog is closing: the message goes over the window it belongs to.
    TellAudioResult(applied.audioFailed, parentWidget());
}

void PreferencesDialog::TellAudioResult(bool audioFailed, QWidget* parent) const
{
    if (audioFailed && mTellAudioFailures)
        ShowSoundcardMessage(parent);
}

bool PreferencesDialog::Run(AppHost& host, QWidget* parent, bool tellAudioFailures)
{
    PreferencesDialog dialog(host, parent, tellAudioFailures);
    return dialog.exec() == QDialog::Accepted;
}
