#include "app/QtPlatformUi.h"

#include "render/FontRegistry.h"

#include <QDesktopServices>
#include <QFileDialog>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QTimer>
#include <QUrl>
#include <QWidget>
#include <cmath>
#include <memory>

namespace
{
// Caption menus in the screen's own dark colours rather than the desktop theme's: light text on
// the charcoal of the panels (12:1), the chosen item white on the buttons' blue (5.9:1), and an
// item that cannot be chosen in grey that still reads (4.6:1).
constexpr float kCaptionMenuTextSize = 16.f; // design pixels
const QString kCaptionMenuStyle = QStringLiteral(
    "QMenu { background: #2b2e33; color: #e8eaed; border: 1px solid #5f6368; padding: 3px 0; }"
    "QMenu::item { padding: 4px 24px 4px 24px; }"
    "QMenu::item:selected { background: #0b5cad; color: #ffffff; }"
    "QMenu::item:disabled { color: #8e939a; }"
    "QMenu::indicator { width: 12px; height: 12px; left: 6px; }");

QString ToQString(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// A one-line field that reports once: the text on Enter, nothing on Escape or loss of focus.
class TextEntryField final : public QLineEdit
{
public:
    using Finish = std::function<void(std::optional<std::string> text)>;

    TextEntryField(QWidget* parent, Finish finish) : QLineEdit(parent), mFinish(std::move(finish))
    {
    }

    // Reports the cancellation now, as Escape would.
    void Cancel() { Done(std::nullopt); }
    // Reports nothing: the owner is going away.
    void Abandon() { mFinish = nullptr; }

protected:
    void keyPressEvent(QKeyEvent* event) override
    {
        switch (event->key())
        {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            Done(text().toStdString());
            return;
        case Qt::Key_Escape:
            Done(std::nullopt);
            return;
        default:
            QLineEdit::keyPressEvent(event);
        }
    }

    void focusOutEvent(QFocusEvent* event) override
    {
        QLineEdit::focusOutEvent(event);
        Done(std::nullopt);
    }

private:
    void Done(std::optional<std::string> result)
    {
        if (!mFinish)
            return;
        // Cleared first: hiding moves the focus, which comes back here.
        const Finish finish = std::move(mFinish);
        mFinish = nullptr;
        hide();
        deleteLater();
        finish(std::move(result));
    }

    Finish mFinish;
};

QMessageBox::StandardButtons ButtonsFor(EMsgBoxType type)
{
    switch (type)
    {
    case EMsgBoxType::kOk:
        return QMessageBox::Ok;
    case EMsgBoxType::kOkCancel:
        return QMessageBox::Ok | QMessageBox::Cancel;
    case EMsgBoxType::kAbortRetryIgnore:
        return QMessageBox::Abort | QMessageBox::Retry | QMessageBox::Ignore;
    case EMsgBoxType::kYesNoCancel:
        return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    case EMsgBoxType::kYesNo:
        return QMessageBox::Yes | QMessageBox::No;
    case EMsgBoxType::kRetryCancel:
        return QMessageBox::Retry | QMessageBox::Cancel;
    }
    return QMessageBox::Ok;
}

// The button the user reads first, which Enter presses.
QMessageBox::StandardButton DefaultButtonFor(EMsgBoxType type)
{
    switch (type)
    {
    case EMsgBoxType::kOk:
    case EMsgBoxType::kOkCancel:
        return QMessageBox::Ok;
    case EMsgBoxType::kAbortRetryIgnore:
        return QMessageBox::Abort;
    case EMsgBoxType::kYesNoCancel:
    case EMsgBoxType::kYesNo:
        return QMessageBox::Yes;
    case EMsgBoxType::kRetryCancel:
        return QMessageBox::Retry;
    }
    return QMessageBox::Ok;
}

EMsgBoxResult ResultFor(QMessageBox::StandardButton button)
{
    switch (button)
    {
    case QMessageBox::Ok:
        return EMsgBoxResult::kOk;
    case QMessageBox::Cancel:
        return EMsgBoxResult::kCancel;
    case QMessageBox::Abort:
        return EMsgBoxResult::kAbort;
    case QMessageBox::Retry:
        return EMsgBoxResult::kRetry;
    case QMessageBox::Ignore:
        return EMsgBoxResult::kIgnore;
    case QMessageBox::Yes:
        return EMsgBoxResult::kYes;
    case QMessageBox::No:
        return EMsgBoxResult::kNo;
    default:
        return EMsgBoxResult::kNoResult;
    }
}
} // namespace

QtPlatformUi::QtPlatformUi(QWidget& view, ScaleFunc drawScale, const FontRegistry* fonts)
    : mView(view), mDrawScale(std::move(drawScale)), mFonts(fonts)
{
}

QtPlatformUi::~QtPlatformUi()
{
    if (mMenu)
    {
        mMenu->disconnect();
        delete mMenu;
    }
    if (mTextEntry)
    {
        static_cast<TextEntryField*>(mTextEntry.data())->Abandon();
        delete mTextEntry;
    }
    for (const QPointer<QDialog>& dialog : mDialogs)
    {
        if (dialog)
        {
            dialog->disconnect();
            delete dialog;
        }
    }
}

float QtPlatformUi::Scale() const
{
    const float scale = mDrawScale ? mDrawScale() : 1.f;
    return (std::isfinite(scale) && scale > 0.f) ? scale : 1.f;
}

QRect QtPlatformUi::ToViewRect(const IRECT& bounds) const
{
    const IRECT scaled = bounds.GetScaled(Scale());
    const QPoint origin = mDesignOrigin ? mDesignOrigin() : QPoint();
    const QPoint topLeft(static_cast<int>(std::lround(scaled.L)),
                         static_cast<int>(std::lround(scaled.T)));
    const QPoint bottomRight(static_cast<int>(std::lround(scaled.R)),
                             static_cast<int>(std::lround(scaled.B)));
    return QRect(origin + topLeft, origin + bottomRight - QPoint(1, 1));
}

void QtPlatformUi::Track(QDialog* dialog)
{
    std::erase_if(mDialogs, [](const QPointer<QDialog>& open) { return open.isNull(); });
    mDialogs.emplace_back(dialog);
}

void QtPlatformUi::CreatePopupMenu(const std::vector<PopupMenuItem>& items, const IRECT& bounds,
                                   PopupMenuCompletion completion)
{
    if (mMenu)
        mMenu->close();

    auto* menu = new QMenu(&mView);
    menu->setStyleSheet(kCaptionMenuStyle);
    // Items as large as the screen's labels at the screen's scale.
    QFont font = menu->font();
    font.setPixelSize(std::max(1, static_cast<int>(std::lround(kCaptionMenuTextSize * Scale()))));
    menu->setFont(font);
    QAction* current = nullptr;
    for (int i = 0; i < static_cast<int>(items.size()); ++i)
    {
        const PopupMenuItem& item = items[static_cast<std::size_t>(i)];
        QAction* action = menu->addAction(ToQString(item.text));
        action->setData(i);
        action->setEnabled(item.enabled);
        if (item.checked)
        {
            action->setCheckable(true);
            action->setChecked(true);
            current = action;
        }
    }

    // Shared by both signals so the completion runs exactly once.
    auto pending = std::make_shared<PopupMenuCompletion>(std::move(completion));
    auto finish = [pending](std::optional<int> chosen)
    {
        if (!*pending)
            return;
        const PopupMenuCompletion done = std::move(*pending);
        *pending = nullptr;
        done(chosen);
    };
    QObject::connect(menu, &QMenu::triggered, menu,
                     [finish](QAction* action) { finish(action->data().toInt()); });
    // The menu hides before it reports the chosen action; the dismissal is decided afterwards.
    QObject::connect(menu, &QMenu::aboutToHide, menu,
                     [finish, menu]
                     {
                         QTimer::singleShot(0, menu,
                                            [finish, menu]
                                            {
                                                finish(std::nullopt);
                                                menu->deleteLater();
                                            });
                     });
    mMenu = menu;

    const QRect area = ToViewRect(bounds);
    menu->setMinimumWidth(area.width());
    menu->popup(mView.mapToGlobal(area.bottomLeft() + QPoint(0, 1)));
    // The arrow keys start from the current choice, as in a combo box.
    if (current)
        menu->setActiveAction(current);
}

void QtPlatformUi::CreateTextEntry(const IText& style, const IRECT& bounds,
                                   std::string_view initialText, TextEntryCompletion completion)
{
    if (mTextEntry)
        static_cast<TextEntryField*>(mTextEntry.data())->Cancel();

    auto* field = new TextEntryField(&mView, std::move(completion));
    QFont font = mFonts ? mFonts->FontFor(style) : field->font();
    font.setPixelSize(std::max(1, static_cast<int>(std::lround(style.mSize * Scale()))));
    field->setFont(font);
    QPalette palette = field->palette();
    palette.setColor(QPalette::Base, QColor(style.mTextEntryBGColor.R, style.mTextEntryBGColor.G,
                                            style.mTextEntryBGColor.B, style.mTextEntryBGColor.A));
    palette.setColor(QPalette::Text, QColor(style.mTextEntryFGColor.R, style.mTextEntryFGColor.G,
                                            style.mTextEntryFGColor.B, style.mTextEntryFGColor.A));
    field->setPalette(palette);
    field->setFrame(false);
    field->setAlignment(style.mAlign == EAlign::kNear  ? Qt::AlignLeft
                        : style.mAlign == EAlign::kFar ? Qt::AlignRight
                                                       : Qt::AlignHCenter);
    field->setText(ToQString(initialText));
    field->selectAll();
    field->setGeometry(ToViewRect(bounds));
    mTextEntry = field;
    field->show();
    field->raise();
    field->setFocus(Qt::OtherFocusReason);
}

void QtPlatformUi::ShowMessageBox(std::string_view text, std::string_view caption, EMsgBoxType type,
                                  MsgBoxCompletion completion)
{
    auto* box = new QMessageBox(QMessageBox::NoIcon, ToQString(caption), ToQString(text),
                                ButtonsFor(type), mView.window());
    box->setTextFormat(Qt::PlainText);
    box->setDefaultButton(DefaultButtonFor(type));
    QObject::connect(box, &QDialog::finished, box,
                     [box, completion = std::move(completion)](int)
                     {
                         const EMsgBoxResult result =
                             ResultFor(box->standardButton(box->clickedButton()));
                         box->deleteLater();
                         if (completion)
                             completion(result);
                     });
    Track(box);
    box->open();
}

void QtPlatformUi::PromptForFile(EFileAction action, std::string_view extension,
                                 FileCompletion completion)
{
    const QString suffix = ToQString(extension);
    const bool save = action == EFileAction::kSave;
    const QString filter = suffix.isEmpty()
                               ? QStringLiteral("All files (*)")
                               : QStringLiteral("%1 files (*.%2)").arg(suffix.toUpper(), suffix);
    auto* dialog =
        new QFileDialog(mView.window(), save ? QStringLiteral("Save As") : QStringLiteral("Open"),
                        mLastFolder, filter);
    dialog->setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog->setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog->setDefaultSuffix(suffix);
    // A save that would replace a file asks first (QFileDialog's default, kept explicit).
    dialog->setOption(QFileDialog::DontConfirmOverwrite, false);
    QObject::connect(dialog, &QDialog::finished, dialog,
                     [this, dialog, completion = std::move(completion)](int result)
                     {
                         QString path;
                         const QStringList chosen = dialog->selectedFiles();
                         if (result == QDialog::Accepted && !chosen.isEmpty())
                             path = chosen.front();
                         if (!path.isEmpty())
                             mLastFolder = QFileInfo(path).absolutePath();
                         dialog->deleteLater();
                         if (completion)
                             completion(path.toStdString());
                     });
    Track(dialog);
    dialog->open();
}

bool QtPlatformUi::OpenURL(std::string_view urlOrPath)
{
    const QString text = ToQString(urlOrPath);
    if (text.isEmpty())
        return false;
    QUrl url(text, QUrl::StrictMode);
    // No scheme, or a one-letter one that is a drive letter: a local path.
    if (!url.isValid() || url.scheme().size() <= 1)
        url = QUrl::fromLocalFile(text);
    return QDesktopServices::openUrl(url);
}

void QtPlatformUi::SetMouseCursorHidden(bool hidden)
{
    if (hidden)
        mView.setCursor(Qt::BlankCursor);
    else
        mView.unsetCursor();
}
