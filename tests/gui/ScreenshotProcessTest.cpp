#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>
#include <string>

// The editor program run with --screenshot, judged by pixel statistics of the regions a user
// looks at first, not against a golden image.

namespace screenshottest
{
// The share (0-1) of the pixels in `area` for which `test` holds.
double Share(const QImage& image, const QRect& area, const std::function<bool(QColor)>& test)
{
    int hits = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
    {
        for (int x = area.left(); x <= area.right(); ++x)
            hits += test(image.pixelColor(x, y)) ? 1 : 0;
    }
    return static_cast<double>(hits) / (area.width() * area.height());
}

bool IsDark(QColor c)
{
    return qGray(c.rgb()) < 90;
}
bool IsLight(QColor c)
{
    return qGray(c.rgb()) > 150;
}
bool IsPanelGrey(QColor c)
{
    return std::abs(c.red() - 127) <= 12 && std::abs(c.green() - 127) <= 12 &&
           std::abs(c.blue() - 127) <= 12;
}
bool IsGreen(QColor c)
{
    return c.green() > c.red() + 40 && c.green() > c.blue() + 40;
}
bool IsRed(QColor c)
{
    return c.red() > c.green() + 60 && c.red() > c.blue() + 60;
}
bool IsBlue(QColor c)
{
    return c.blue() > c.red() + 60;
}

// A rectangle from design coordinates (left, top, right, bottom).
QRect Area(int l, int t, int r, int b)
{
    return QRect(QPoint(l, t), QPoint(r - 1, b - 1));
}

class ScreenshotProgram : public ::testing::Test
{
protected:
    // Runs the editor with `arguments` and a private settings folder; the exit status, or -1.
    // Its standard output is kept in `out`.
    int Run(const QStringList& arguments)
    {
        QProcess editor;
        editor.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        editor.start(QStringLiteral(STOMPLET_EDITOR_PROGRAM),
                     QStringList{"--settings-dir", folder.filePath("settings")} + arguments);
        if (!editor.waitForFinished(30000) || editor.exitStatus() != QProcess::NormalExit)
        {
            editor.kill();
            return -1;
        }
        out = QString::fromUtf8(editor.readAllStandardOutput()).toStdString();
        return editor.exitCode();
    }

    QTemporaryDir folder;
    std::string out;
};
} // namespace screenshottest

using screenshottest::Area;
using screenshottest::ScreenshotProgram;
using screenshottest::Share;

TEST_F(ScreenshotProgram, AFreshStartDrawsTheLcdTheHeaderBarAndTheGlobalPage)
{
    ASSERT_TRUE(folder.isValid());
    const QString file = folder.filePath("start.png");
    ASSERT_EQ(Run({"--screenshot", file}), 0);
    const QImage shot(file);
    ASSERT_FALSE(shot.isNull());
    ASSERT_EQ(shot.size(), QSize(1024, 768));

    // The LCD: a lit screen with dark segment text ("JACK 1", "JACK 2", "PEDAL") on it.
    const QRect lcd = Area(360, 60, 665, 280);
    EXPECT_GT(Share(shot, lcd, screenshottest::IsLight), 0.4);
    EXPECT_GT(Share(shot, Area(362, 64, 662, 116), screenshottest::IsDark), 0.05);
    EXPECT_LT(Share(shot, lcd, screenshottest::IsPanelGrey), 0.1);

    // The header bar: LOAD green, SAVE red, AUDITION blue, the preset name in light text.
    EXPECT_GT(Share(shot, Area(222, 7, 286, 38), screenshottest::IsGreen), 0.4);
    EXPECT_GT(Share(shot, Area(297, 7, 361, 38), screenshottest::IsRed), 0.4);
    EXPECT_GT(Share(shot, Area(662, 7, 776, 38), screenshottest::IsBlue), 0.4);
    EXPECT_GT(Share(shot, Area(377, 8, 652, 36), screenshottest::IsLight), 0.03);

    // The GLOBAL page: RESET ALL blue, four grey captions each with dark text, and their labels.
    EXPECT_GT(Share(shot, Area(412, 370, 608, 404), screenshottest::IsBlue), 0.4);
    for (const int top : {441, 504, 567, 631})
    {
        const QRect caption = Area(411, top, 613, top + 28);
        EXPECT_GT(Share(shot, caption, screenshottest::IsPanelGrey), 0.5) << "caption at " << top;
        EXPECT_GT(Share(shot, caption, screenshottest::IsDark), 0.02) << "caption at " << top;
        EXPECT_GT(Share(shot, Area(411, top - 26, 613, top - 6), screenshottest::IsLight), 0.03)
            << "label above " << top;
    }
}

TEST_F(ScreenshotProgram, TheDemoReachesInterfaceModeWithoutWritingSettingsAndABadFileIsStatusOne)
{
    ASSERT_TRUE(folder.isValid());
    const QString shot = folder.filePath("demo.png");
    ASSERT_EQ(Run({"--demo", "--screenshot", shot}), 0);
    // The status lines the picture shows, printed by the editor as it saved it.
    EXPECT_EQ(out, "DEVICE: Korvo-Audio ctrlWave Stomplet\nVERSION: 1.2\nSTATE: Interface Mode\n");
    EXPECT_EQ(QImage(shot).size(), QSize(1024, 768));
    EXPECT_FALSE(QFileInfo::exists(folder.filePath("settings/settings.ini")));

    EXPECT_EQ(Run({"--screenshot", folder.filePath("no-such-folder/shot.png")}), 1);
}
