// The editor program run with --screenshot, judged by pixel statistics of the regions a user
// looks at first, not against a golden image. (The process's arguments and statuses, --demo among
// them, are checked by editor-process-test.sh.)

#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>
#include <tuple>

TEST(ScreenshotProgram, AFreshStartDrawsTheLitLcdTheHeaderButtonsAndResetAll)
{
    QTemporaryDir folder;
    ASSERT_EQ(
        QProcess::execute(STOMPLET_EDITOR_PROGRAM, {"--settings-dir", folder.filePath("settings"),
                                                    "--screenshot", folder.filePath("start.png")}),
        0);
    const QImage shot(folder.filePath("start.png"));
    ASSERT_EQ(shot.size(), QSize(1024, 768));
    using Judge = std::function<bool(QColor)>;
    const Judge dark = [](QColor c) { return qGray(c.rgb()) < 90; };
    const Judge light = [](QColor c) { return qGray(c.rgb()) > 150; };
    const Judge green = [](QColor c)
    { return c.green() > c.red() + 40 && c.green() > c.blue() + 40; };
    const Judge red = [](QColor c) { return c.red() > c.green() + 60 && c.red() > c.blue() + 60; };
    const Judge blue = [](QColor c) { return c.blue() > c.red() + 60; };
    // What, where in design pixels, the colour test and the share of the pixels it holds for.
    const std::tuple<const char*, QRect, const Judge&, double> regions[]{
        {"lit LCD", {360, 60, 305, 220}, light, 0.4}, {"LCD text", {362, 64, 300, 52}, dark, 0.05},
        {"LOAD", {222, 7, 64, 31}, green, 0.4},       {"SAVE", {297, 7, 64, 31}, red, 0.4},
        {"AUDITION", {662, 7, 114, 31}, blue, 0.4},   {"RESET ALL", {412, 370, 196, 34}, blue, 0.4},
    };
    for (const auto& [what, area, judge, share] : regions)
    {
        int hits = 0;
        for (int y = area.top(); y <= area.bottom(); ++y)
            for (int x = area.left(); x <= area.right(); ++x)
                hits += judge(shot.pixelColor(x, y)) ? 1 : 0;
        EXPECT_GT(hits, share * area.width() * area.height()) << what;
    }
}
