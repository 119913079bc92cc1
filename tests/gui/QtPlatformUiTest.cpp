#include "app/QtPlatformUi.h"

#include "WaitFor.h"

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
// A shown view widget at draw scale 2, the platform services over it, and what completed.
class Platform : public ::testing::Test
{
protected:
    Platform()
    {
        view.resize(2048, 1536);
        view.show();
        view.activateWindow();
        QApplication::setActiveWindow(&view);
        platform = std::make_unique<QtPlatformUi>(view, [] { return 2.f; });
    }

    template <class T>
    T* OpenDialog() const
    {
        for (QWidget* widget : QApplication::topLevelWidgets())
        {
            if (auto* dialog = qobject_cast<T*>(widget); dialog && dialog->isVisible())
                return dialog;
        }
        return nullptr;
    }

    QWidget view;
    std::unique_ptr<QtPlatformUi> platform;
    int completions = 0;
};
} // namespace qtplatformuitest

using qtplatformuitest::Platform;

TEST_F(Platform, AMenuShowsItsCheckMarkAndReportsTheChosenItemOnceOrNoChoiceWhenDismissed)
{
    std::optional<int> chosen;
    platform->CreatePopupMenu({{"Pedal", false}, {"Switches", true}, {"Off", false, false}},
                              IRECT(410.f, 441.f, 613.f, 469.f),
                              [&](std::optional<int> idx)
                              {
                                  chosen = idx;
                                  ++completions;
                              });
    QMenu* menu = platform->OpenMenu();
    ASSERT_NE(menu, nullptr);
    ASSERT_TRUE(waitfor::WaitUntil([&] { return menu->isVisible(); }));
    const QList<QAction*> items = menu->actions();
    ASSERT_EQ(items.size(), 3);
    EXPECT_FALSE(items[0]->isChecked());
    EXPECT_TRUE(items[1]->isChecked());
    EXPECT_FALSE(items[2]->isEnabled());
    // At least as wide as the caption at scale 2.
    EXPECT_GE(menu->width(), 406);
    // Mended: the menu came up in the desktop's light theme over the dark screen.
    const QImage drawn = menu->grab().toImage();
    EXPECT_LT(drawn.pixelColor(drawn.width() / 2, 2).lightnessF(), 0.3);

    QTest::mouseClick(menu, Qt::LeftButton, Qt::NoModifier,
                      menu->actionGeometry(items[0]).center());
    ASSERT_TRUE(waitfor::WaitUntil([&] { return platform->OpenMenu() == nullptr; }));
    EXPECT_EQ(chosen, std::optional<int>(0));
    EXPECT_EQ(completions, 1);

    platform->CreatePopupMenu({{"A", true}, {"B", false}}, IRECT(10.f, 10.f, 50.f, 20.f),
                              [&](std::optional<int> idx)
                              {
                                  chosen = idx;
                                  ++completions;
                              });
    ASSERT_NE(platform->OpenMenu(), nullptr);
    platform->OpenMenu()->close();
    ASSERT_TRUE(waitfor::WaitUntil([&] { return completions > 1; }));
    EXPECT_EQ(chosen, std::nullopt);
    QTest::qWait(20);
    EXPECT_EQ(completions, 2);
}

TEST_F(Platform, TextEntryConfirmsWithEnterAndCancelsWithEscapeOrANewEntry)
{
    std::optional<std::string> typed;
    auto record = [&](std::optional<std::string> text)
    {
        typed = std::move(text);
        ++completions;
    };
    platform->CreateTextEntry(IText(20.f, kColorBlack), IRECT(100.f, 50.f, 200.f, 70.f), "64",
                              record);
    QLineEdit* field = platform->OpenTextEntry();
    ASSERT_NE(field, nullptr);
    EXPECT_EQ(field->geometry(), QRect(200, 100, 200, 40));
    EXPECT_EQ(field->selectedText(), "64"); // typing replaces it
    QTest::keyClicks(field, "200");
    QTest::keyClick(field, Qt::Key_Return);
    EXPECT_EQ(typed, std::optional<std::string>("200"));
    EXPECT_EQ(completions, 1);

    // Mended: in a letterboxed view the entry opened off its control by the margin.
    platform->SetDesignOriginFunc([] { return QPoint(30, 12); });
    platform->CreateTextEntry(IText(), IRECT(0.f, 0.f, 50.f, 20.f), "x", record);
    EXPECT_EQ(platform->OpenTextEntry()->geometry().topLeft(), QPoint(30, 12));
    QTest::keyClick(platform->OpenTextEntry(), Qt::Key_Escape);
    EXPECT_EQ(typed, std::nullopt);
    EXPECT_EQ(completions, 2);

    // A new text entry cancels the open one.
    platform->CreateTextEntry(IText(), IRECT(0.f, 0.f, 50.f, 20.f), "first", record);
    typed = "unset";
    platform->CreateTextEntry(IText(), IRECT(0.f, 0.f, 50.f, 20.f), "second", record);
    EXPECT_EQ(typed, std::nullopt);
    EXPECT_EQ(completions, 3);
    EXPECT_EQ(platform->OpenTextEntry()->text(), "second");
}

TEST_F(Platform, AMessageBoxRaisedInATimerTickDoesNotBlockIt)
{
    EMsgBoxResult result = EMsgBoxResult::kNoResult;
    bool tickReturned = false;
    QTimer::singleShot(0,
                       [&]
                       {
                           platform->ShowMessageBox("Save changes?", "", EMsgBoxType::kYesNoCancel,
                                                    [&](EMsgBoxResult answer)
                                                    {
                                                        result = answer;
                                                        ++completions;
                                                    });
                           tickReturned = true;
                       });
    ASSERT_TRUE(waitfor::WaitUntil([&] { return OpenDialog<QMessageBox>() != nullptr; }));
    EXPECT_TRUE(tickReturned);
    EXPECT_EQ(completions, 0);

    QMessageBox* box = OpenDialog<QMessageBox>();
    EXPECT_EQ(box->text(), "Save changes?");
    EXPECT_EQ(box->standardButtons(), QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    box->button(QMessageBox::No)->click();
    ASSERT_TRUE(waitfor::WaitUntil([&] { return completions == 1; }));
    EXPECT_EQ(result, EMsgBoxResult::kNo);
}

TEST_F(Platform, ASaveDialogIsLimitedToItsExtensionAndAddsItAndACancelledPromptGivesNoPath)
{
    std::string path = "unset";
    platform->PromptForFile(EFileAction::kSave, "csx",
                            [&](std::string chosen)
                            {
                                path = std::move(chosen);
                                ++completions;
                            });
    QFileDialog* dialog = OpenDialog<QFileDialog>();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->acceptMode(), QFileDialog::AcceptSave);
    EXPECT_EQ(dialog->nameFilters(), QStringList({"CSX files (*.csx)"}));
    EXPECT_EQ(dialog->defaultSuffix(), "csx");
    EXPECT_FALSE(dialog->testOption(QFileDialog::DontConfirmOverwrite));

    const QString folder = QString::fromUtf8(::testing::TempDir().c_str());
    dialog->setDirectory(folder);
    dialog->selectFile("preset");
    QMetaObject::invokeMethod(dialog, "accept"); // accept() is protected
    ASSERT_TRUE(waitfor::WaitUntil([&] { return completions == 1; }));
    EXPECT_EQ(QString::fromStdString(path), QDir(folder).absoluteFilePath("preset.csx"));

    platform->PromptForFile(EFileAction::kOpen, "bin",
                            [&](std::string chosen)
                            {
                                path = std::move(chosen);
                                ++completions;
                            });
    dialog = OpenDialog<QFileDialog>();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->fileMode(), QFileDialog::ExistingFile);
    dialog->reject();
    ASSERT_TRUE(waitfor::WaitUntil([&] { return completions == 2; }));
    EXPECT_EQ(path, "");
}

TEST_F(Platform, TheCursorHidesOverTheViewAndComesBack)
{
    platform->SetMouseCursorHidden(true);
    EXPECT_EQ(view.cursor().shape(), Qt::BlankCursor);
    platform->SetMouseCursorHidden(false);
    EXPECT_EQ(view.cursor().shape(), Qt::ArrowCursor);
    EXPECT_FALSE(platform->OpenURL(""));
}

TEST_F(Platform, WhatIsStillOpenWhenThePlatformGoesAwayClosesWithoutCompletion)
{
    platform->CreatePopupMenu({{"A", false}}, IRECT(0.f, 0.f, 10.f, 10.f),
                              [&](std::optional<int>) { ++completions; });
    platform->ShowMessageBox("text", "", EMsgBoxType::kOk, [&](EMsgBoxResult) { ++completions; });
    platform->CreateTextEntry(IText(), IRECT(0.f, 0.f, 50.f, 20.f), "x",
                              [&](std::optional<std::string>) { ++completions; });
    platform.reset();
    QTest::qWait(20);
    EXPECT_EQ(completions, 0);
    EXPECT_EQ(OpenDialog<QMessageBox>(), nullptr);
}
