#include "app/MainWindow.h"

#include "core/IPlugAPP.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QMenuBar>
#include <QMessageBox>
#include <QScreen>
#include <algorithm>

namespace
{
const QString kTitle = QStringLiteral("ctrlWaveStomplet");
// Room kept for a window manager's borders and title bar before the window shows, in pixels.
const QSize kFrameAllowance(16, 40);
} // namespace

MainWindow::MainWindow(IPlugAPP& app, Actions actions, QWidget* parent)
    : QMainWindow(parent), mApp(app), mActions(std::move(actions))
{
    setWindowTitle(kTitle);
    setAttribute(Qt::WA_QuitOnClose);
    BuildMenus();
}

MainWindow::~MainWindow()
{
    mApp.SetEditHistoryListener({});
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

    QMenu* edit = menuBar()->addMenu(QStringLiteral("&Edit"));
    mUndo = edit->addAction(QStringLiteral("&Undo"));
    mUndo->setShortcut(QKeySequence::Undo);
    mUndo->setShortcutContext(Qt::ApplicationShortcut);
    connect(mUndo, &QAction::triggered, this, [this] { mApp.OnUndoRequested(); });
    mRedo = edit->addAction(QStringLiteral("&Redo"));
    mRedo->setShortcuts(
        {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)});
    mRedo->setShortcutContext(Qt::ApplicationShortcut);
    connect(mRedo, &QAction::triggered, this, [this] { mApp.OnRedoRequested(); });
    connect(edit, &QMenu::aboutToShow, this, &MainWindow::UpdateEditActions);
    mApp.SetEditHistoryListener([this] { UpdateEditActions(); });
    UpdateEditActions();

    QMenu* help = menuBar()->addMenu(QStringLiteral("&Help"));
    connect(help->addAction(QStringLiteral("&About")), &QAction::triggered, this,
            &MainWindow::ShowAbout);
    connect(help->addAction(QStringLiteral("&Read Manual")), &QAction::triggered, this,
            &MainWindow::ShowManual);
}

void MainWindow::UpdateEditActions()
{
    const std::string undo = mApp.UndoName();
    const std::string redo = mApp.RedoName();
    mUndo->setEnabled(!undo.empty());
    mUndo->setText(undo.empty() ? QStringLiteral("&Undo")
                                : QStringLiteral("&Undo %1").arg(QString::fromStdString(undo)));
    mRedo->setEnabled(!redo.empty());
    mRedo->setText(redo.empty() ? QStringLiteral("&Redo")
                                : QStringLiteral("&Redo %1").arg(QString::fromStdString(redo)));
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

QSize MainWindow::ClientExtra() const
{
    QSize extra(0, 0);
    if (const QWidget* bar = menuWidget())
        extra.rheight() += bar->sizeHint().height();
    return extra;
}

void MainWindow::FitClientArea(int width, int height)
{
    resize(QSize(width, height) + ClientExtra());
}

void MainWindow::ShowCentred()
{
    QWidget* view = centralWidget();
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (view && screen)
    {
        // The largest client area of the view's aspect, at most its preferred size, that fits the
        // screen's available area with the window's frame (allowed for while no frame is known).
        const QRect available = screen->availableGeometry();
        QSize frame = frameGeometry().size() - size();
        if (frame.isEmpty())
            frame = kFrameAllowance;
        const QSize room = available.size() - frame - ClientExtra();
        const QSize preferred = view->sizeHint().isValid() ? view->sizeHint() : view->size();
        const double fit = std::min({1.0, static_cast<double>(room.width()) / preferred.width(),
                                     static_cast<double>(room.height()) / preferred.height()});
        const QSize client = QSize(static_cast<int>(preferred.width() * fit),
                                   static_cast<int>(preferred.height() * fit))
                                 .expandedTo(view->minimumSize());
        FitClientArea(client.width(), client.height());
        const QSize outer = size() + frame;
        move(available.left() + std::max(0, (available.width() - outer.width()) / 2),
             available.top() + std::max(0, (available.height() - outer.height()) / 2));
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
