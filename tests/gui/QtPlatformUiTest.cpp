// The platform services the screen asks of Qt: text entry, message boxes, file dialogs, and
// what happens to them when the view goes away. (The menus are walked by the keyboard test.)

#include "app/QtPlatformUi.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QMessageBox>
#include <QTimer>
#include <QtTest/QTest>
#include <gtest/gtest.h>

namespace
{
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
    void Entry(const IRECT& bounds, const char* text)
    {
        platform->CreateTextEntry(IText(20.f, kColorBlack), bounds, text,
                                  [this](std::optional<std::string> typed) { Done(typed); });
    }

    QWidget view;
    std::unique_ptr<QtPlatformUi> platform;
    std::vector<std::string> completions;
};
} // namespace

using Completions = std::vector<std::string>;

TEST_F(Platform, TextEntryConfirmsWithEnterAndCancelsWithEscapeOrANewEntry)
{
    Entry(IRECT(100.f, 50.f, 200.f, 70.f), "64");
    QLineEdit* field = platform->OpenTextEntry();
    ASSERT_NE(field, nullptr);
    EXPECT_EQ(field->geometry(), QRect(200, 100, 200, 40));
    QTest::keyClicks(field, "200"); // in place of the "64" it showed
    QTest::keyClick(field, Qt::Key_Return);
    // Mended: in a letterboxed view the entry opened off its control by the margin.
    platform->SetDesignOriginFunc([] { return QPoint(30, 12); });
    Entry(IRECT(0.f, 0.f, 50.f, 20.f), "x");
    EXPECT_EQ(platform->OpenTextEntry()->geometry().topLeft(), QPoint(30, 12));
    QTest::keyClick(platform->OpenTextEntry(), Qt::Key_Escape);
    Entry(IRECT(0.f, 0.f, 50.f, 20.f), "first");
    Entry(IRECT(0.f, 0.f, 50.f, 20.f), "second");
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
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    ASSERT_TRUE(box && box->button(QMessageBox::Cancel) && box->button(QMessageBox::No));
    box->button(QMessageBox::No)->click();
    EXPECT_TRUE(QTest::qWaitFor([&] { return completions == Completions{"no"}; }));
}

TEST_F(Platform, ASaveDialogIsLimitedToItsExtensionAndAddsItAndACancelledPromptGivesNoPath)
{
    const auto done = [this](std::string path) { Done(path); };
    platform->PromptForFile(EFileAction::kSave, "csx", done);
    QFileDialog* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->nameFilters(), QStringList({"CSX files (*.csx)"}));
    const QDir folder(QString::fromStdString(::testing::TempDir()));
    dialog->setDirectory(folder);
    dialog->selectFile("preset");
    QMetaObject::invokeMethod(dialog, "accept"); // accept() is protected
    ASSERT_TRUE(QTest::qWaitFor([&] { return completions.size() == 1; }));
    platform->PromptForFile(EFileAction::kOpen, "bin", done);
    ASSERT_NE(dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget()), nullptr);
    EXPECT_EQ(dialog->fileMode(), QFileDialog::ExistingFile);
    dialog->reject();
    ASSERT_TRUE(QTest::qWaitFor([&] { return completions.size() == 2; }));
    EXPECT_EQ(completions, (Completions{folder.absoluteFilePath("preset.csx").toStdString(), ""}));
}

TEST_F(Platform, WhatIsStillOpenWhenThePlatformGoesAwayClosesWithoutCompletion)
{
    platform->CreatePopupMenu({{"A", false}}, IRECT(0.f, 0.f, 10.f, 10.f),
                              [this](std::optional<int>) { Done("menu"); });
    platform->ShowMessageBox("text", "", EMsgBoxType::kOk, [this](EMsgBoxResult) { Done("box"); });
    Entry(IRECT(0.f, 0.f, 50.f, 20.f), "x");
    platform.reset();
    QTest::qWait(20);
    EXPECT_TRUE(completions.empty());
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}
