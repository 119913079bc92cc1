// The platform services the screen asks of Qt: menus, text entry, message boxes, file dialogs.

#include "app/QtPlatformUi.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QImage>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QTimer>
#include <QtTest/QTest>
#include <gtest/gtest.h>
#include <optional>

namespace qtplatformuitest
{
template <class T>
T* OpenDialog()
{
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (auto* dialog = qobject_cast<T*>(widget); dialog && dialog->isVisible())
            return dialog;
    return nullptr;
}

// A shown view widget at draw scale 2, the platform services over it, and what they completed
// with, as text ("none" for no choice).
class Platform : public ::testing::Test
{
protected:
    Platform()
    {
        view.resize(2048, 1536);
        view.show();
        QApplication::setActiveWindow(&view);
        platform = std::make_unique<QtPlatformUi>(view, [] { return 2.f; });
    }
    void Done(std::optional<std::string> result) { completions.push_back(result.value_or("none")); }

    QWidget view;
    std::unique_ptr<QtPlatformUi> platform;
    std::vector<std::string> completions;
    const std::function<void(std::optional<int>)> menuDone = [this](std::optional<int> idx)
    { Done(idx ? std::optional(std::to_string(*idx)) : std::nullopt); };
    const std::function<void(std::optional<std::string>)> entryDone =
        [this](std::optional<std::string> text) { Done(text); };
};
} // namespace qtplatformuitest

using qtplatformuitest::OpenDialog;
using qtplatformuitest::Platform;
using Completions = std::vector<std::string>;

TEST_F(Platform, AMenuShowsItsCheckMarkDarkAndReportsNoChoiceWhenDismissed)
{
    platform->CreatePopupMenu({{"Pedal", false}, {"Switches", true}, {"Off", false, false}},
                              IRECT(410.f, 441.f, 613.f, 469.f), menuDone);
    QMenu* menu = platform->OpenMenu();
    ASSERT_TRUE(menu && QTest::qWaitFor([&] { return menu->isVisible(); }));
    const QList<QAction*> items = menu->actions();
    ASSERT_EQ(items.size(), 3);
    EXPECT_TRUE(!items[0]->isChecked() && items[1]->isChecked() && !items[2]->isEnabled());
    EXPECT_GE(menu->width(), 406); // at least as wide as the caption at scale 2
    // Mended: the menu came up in the desktop's light theme over the dark screen.
    const QImage drawn = menu->grab().toImage();
    EXPECT_LT(drawn.pixelColor(drawn.width() / 2, 2).lightnessF(), 0.3);
    menu->close();
    QTest::qWait(20);
    EXPECT_EQ(completions, Completions{"none"});
}

TEST_F(Platform, TextEntryConfirmsWithEnterAndCancelsWithEscapeOrANewEntry)
{
    platform->CreateTextEntry(IText(20.f, kColorBlack), IRECT(100.f, 50.f, 200.f, 70.f), "64",
                              entryDone);
    QLineEdit* field = platform->OpenTextEntry();
    ASSERT_NE(field, nullptr);
    EXPECT_EQ(field->geometry(), QRect(200, 100, 200, 40));
    EXPECT_EQ(field->selectedText(), "64"); // typing replaces it
    QTest::keyClicks(field, "200");
    QTest::keyClick(field, Qt::Key_Return);
    // Mended: in a letterboxed view the entry opened off its control by the margin.
    platform->SetDesignOriginFunc([] { return QPoint(30, 12); });
    platform->CreateTextEntry(IText(), IRECT(0.f, 0.f, 50.f, 20.f), "x", entryDone);
    EXPECT_EQ(platform->OpenTextEntry()->geometry().topLeft(), QPoint(30, 12));
    QTest::keyClick(platform->OpenTextEntry(), Qt::Key_Escape);
    platform->CreateTextEntry(IText(), IRECT(0.f, 0.f, 50.f, 20.f), "first", entryDone);
    platform->CreateTextEntry(IText(), IRECT(0.f, 0.f, 50.f, 20.f), "second", entryDone);
    EXPECT_EQ(platform->OpenTextEntry()->text(), "second");
    EXPECT_EQ(completions, (Completions{"200", "none", "none"}));
}

TEST_F(Platform, AMessageBoxRaisedInATimerTickDoesNotBlockIt)
{
    bool tickReturned = false;
    QTimer::singleShot(0,
                       [&]
                       {
                           platform->ShowMessageBox(
                               "Save changes?", "", EMsgBoxType::kYesNoCancel,
                               [this](EMsgBoxResult answer)
                               { Done(answer == EMsgBoxResult::kNo ? "no" : ""); });
                           tickReturned = true;
                       });
    ASSERT_TRUE(QTest::qWaitFor([&] { return tickReturned; }));
    QMessageBox* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->standardButtons(), QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    box->button(QMessageBox::No)->click();
    EXPECT_TRUE(QTest::qWaitFor([&] { return completions == Completions{"no"}; }));
}

TEST_F(Platform, ASaveDialogIsLimitedToItsExtensionAndAddsItAndACancelledPromptGivesNoPath)
{
    const auto done = [this](std::string path) { Done(path); };
    platform->PromptForFile(EFileAction::kSave, "csx", done);
    QFileDialog* dialog = OpenDialog<QFileDialog>();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->acceptMode(), QFileDialog::AcceptSave);
    EXPECT_EQ(dialog->nameFilters(), QStringList({"CSX files (*.csx)"}));
    EXPECT_FALSE(dialog->testOption(QFileDialog::DontConfirmOverwrite));
    const QDir folder(QString::fromStdString(::testing::TempDir()));
    dialog->setDirectory(folder);
    dialog->selectFile("preset");
    QMetaObject::invokeMethod(dialog, "accept"); // accept() is protected
    ASSERT_TRUE(QTest::qWaitFor([&] { return completions.size() == 1; }));
    platform->PromptForFile(EFileAction::kOpen, "bin", done);
    ASSERT_NE(dialog = OpenDialog<QFileDialog>(), nullptr);
    EXPECT_EQ(dialog->fileMode(), QFileDialog::ExistingFile);
    dialog->reject();
    ASSERT_TRUE(QTest::qWaitFor([&] { return completions.size() == 2; }));
    EXPECT_EQ(completions, (Completions{folder.absoluteFilePath("preset.csx").toStdString(), ""}));
}

TEST_F(Platform, WhatIsStillOpenWhenThePlatformGoesAwayClosesWithoutCompletion)
{
    platform->CreatePopupMenu({{"A", false}}, IRECT(0.f, 0.f, 10.f, 10.f), menuDone);
    platform->ShowMessageBox("text", "", EMsgBoxType::kOk, [this](EMsgBoxResult) { Done("box"); });
    platform->CreateTextEntry(IText(), IRECT(0.f, 0.f, 50.f, 20.f), "x", entryDone);
    platform.reset();
    QTest::qWait(20);
    EXPECT_TRUE(completions.empty());
    EXPECT_EQ(OpenDialog<QMessageBox>(), nullptr);
}
