#include "app/MainWindow.h"

#include "core/IPlugAPP.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QMenuBar>
#include <QMessageBox>
#include <QScreen>

namespace
{
const QString kTitle = QStringLiteral("ctrlWaveStomplet");
} // namespace

MainWindow::MainWindow(IPlugAPP& app, Actions actions, QWidget* parent)
    : QMainWindow(parent), mApp(app), mActions(std::move(actions))
{
    setWindowTitle(kTitle);
    setAttribute(Qt::WA_QuitOnClose);
    BuildMenus();
}

void MainWindow::BuildMenus()
{
    QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
    mPreferences = file->addAction(QStringLiteral("&Preferences..."));
    mPreferences->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Comma));
    mPreferences->setShortcutContext(Qt::ApplicationShortcut);
    connect(mPreferences, &QAction::triggered, this,
            [this]
            {
                if (mActions.preferences)
                    mActions.preferences(this);
            });

    QAction* firmware = file->addAction(QStringLiteral("&Firmware Update"));
    connect(firmware, &QAction::triggered, this, [this] { mApp.OnFirmwareUpdateRequested(1); });

    QAction* quit = file->addAction(QStringLiteral("&Quit"));
    quit->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
    quit->setShortcutContext(Qt::ApplicationShortcut);
    connect(quit, &QAction::triggered, this, &QWidget::close);

    QMenu* help = menuBar()->addMenu(QStringLiteral("&Help"));
    connect(help->addAction(QStringLiteral("&About")), &QAction::triggered, this,
            &MainWindow::ShowAbout);
    connect(help->addAction(QStringLiteral("&Read Manual")), &QAction::triggered, this,
            &MainWindow::ShowManual);
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    const std::string question = mApp.QuitQuestion();
    if (!question.empty() &&
        QMessageBox::question(this, kTitle, QString::fromStdString(question)) != QMessageBox::Yes)
    {
        event->ignore();
        return;
    }
    QMainWindow::closeEvent(event);
}

void MainWindow::ShowAbout()
{
    if (mApp.OnAboutRequested())
        return;
    QMessageBox::information(
        this, kTitle, QStringLiteral("Korvo-Audio, 2026\nBuilt on ") + QStringLiteral(__DATE__));
}

void MainWindow::ShowManual()
{
    if (mApp.OnManualRequested())
        return;
    QMessageBox::information(this, kTitle, QStringLiteral("See the manual"));
}

void MainWindow::SetView(QWidget* view)
{
    setCentralWidget(view);
    FitClientArea(view->width(), view->height());
}

void MainWindow::FitClientArea(int width, int height)
{
    if (QWidget* view = centralWidget())
        view->setFixedSize(width, height);
    adjustSize();
    setFixedSize(sizeHint());
}

void MainWindow::ShowCentred()
{
    if (const QScreen* screen = QGuiApplication::primaryScreen())
    {
        const QRect available = screen->geometry();
        const QSize size = frameGeometry().size();
        move(available.width() / 2 - size.width() / 2, available.height() / 2 - size.height() / 2);
    }
    show();
}

void MainWindow::RaiseToFront()
{
    if (isMinimized())
        showNormal();
    raise();
    activateWindow();
}
