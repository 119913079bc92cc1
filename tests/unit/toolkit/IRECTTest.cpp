#include "toolkit/IRECT.h"

#include <gtest/gtest.h>

TEST(Rectangle, ContainsPointsOnTheLeftAndTopEdgeButNotTheRightAndBottom)
{
    const IRECT r(10.f, 20.f, 30.f, 40.f);
    EXPECT_TRUE(r.Contains(10.f, 20.f));
    EXPECT_TRUE(r.Contains(29.9f, 39.9f));
    EXPECT_FALSE(r.Contains(30.f, 25.f));
    EXPECT_FALSE(r.Contains(15.f, 40.f));
    EXPECT_FALSE(r.Contains(9.99f, 25.f));
    EXPECT_TRUE(IRECT().Empty());
    EXPECT_FALSE(IRECT().Contains(0.f, 0.f)); // the all-zero rectangle contains nothing
}

TEST(Rectangle, UnionWithAnEmptyRectangleYieldsTheOther)
{
    const IRECT r(-5.f, 3.f, 7.f, 9.f);
    EXPECT_EQ(IRECT().Union(r), r);
    EXPECT_EQ(r.Union(IRECT()), r);
    EXPECT_EQ(r.Union(IRECT(0.f, 0.f, 1.f, 20.f)), IRECT(-5.f, 0.f, 7.f, 20.f));
}

TEST(Rectangle, RectanglesThatOnlyTouchDoNotIntersect)
{
    const IRECT a(0.f, 0.f, 10.f, 10.f);
    EXPECT_FALSE(a.Intersects(IRECT(10.f, 0.f, 20.f, 10.f)));
    EXPECT_TRUE(a.Intersects(IRECT(9.f, 9.f, 20.f, 20.f)));
    EXPECT_EQ(a.Intersect(IRECT(9.f, 9.f, 20.f, 20.f)), IRECT(9.f, 9.f, 10.f, 10.f));
    EXPECT_TRUE(a.Intersect(IRECT(10.f, 0.f, 20.f, 10.f)).Empty());
}

TEST(Rectangle, HorizontalSlicesAreEqualAndEndOnTheRightEdge)
{
    const IRECT row(5.f, 0.f, 1019.f, 10.f);
    EXPECT_NEAR(row.SubRectHorizontal(5, 2).L, 410.6f, 0.05f);
    EXPECT_NEAR(row.SubRectHorizontal(5, 2).R, 613.4f, 0.05f);
    EXPECT_EQ(row.SubRectHorizontal(3, 2).R, 1019.f);
    EXPECT_EQ(row.SubRectHorizontal(0, 0), row);
}

TEST(Rectangle, GridCellsAreNumberedRowByRow)
{
    // The editor's grid: the view inset by 5, 48 rows of two columns.
    const IRECT content(5.f, 5.f, 1019.f, 763.f);
    const IRECT cell40 = content.GetGridCell(40, 48, 2);
    EXPECT_NEAR(cell40.L, 5.f, 1e-3f);
    EXPECT_NEAR(cell40.T, 320.83f, 0.01f);
    EXPECT_NEAR(cell40.W(), 507.f, 1e-3f);
    EXPECT_NEAR(cell40.H(), 15.7917f, 1e-3f);
    const IRECT cell13 = content.GetGridCell(13, 48, 2);
    EXPECT_NEAR(cell13.L, 512.f, 1e-3f);
    EXPECT_NEAR(cell13.T, 5.f + 6.f * 758.f / 48.f, 0.01f);
}

TEST(Rectangle, StripsAndBandsKeepTheOtherSides)
{
    const IRECT r(100.f, 200.f, 300.f, 260.f);
    EXPECT_EQ(r.GetFromTop(20.f), IRECT(100.f, 200.f, 300.f, 220.f));
    EXPECT_EQ(r.GetFromBottom(16.f), IRECT(100.f, 244.f, 300.f, 260.f));
    EXPECT_EQ(r.GetFromLeft(50.f), IRECT(100.f, 200.f, 150.f, 260.f));
    EXPECT_EQ(r.GetFromRight(50.f), IRECT(250.f, 200.f, 300.f, 260.f));
    EXPECT_EQ(r.GetMidVPadded(14.f), IRECT(100.f, 216.f, 300.f, 244.f));
    EXPECT_EQ(r.GetCentredInside(20.f, 10.f), IRECT(190.f, 225.f, 210.f, 235.f));
}

TEST(Rectangle, ScalingMapsDesignPixelsToDevicePixels)
{
    const IRECT resizer(1005.f, 749.f, 1023.f, 767.f);
    EXPECT_EQ(resizer.GetScaled(2.f), IRECT(2010.f, 1498.f, 2046.f, 1534.f));
    EXPECT_EQ(IRECT(0.5f, 1.2f, 9.1f, 9.f).GetPixelAligned(), IRECT(0.f, 1.f, 10.f, 9.f));
}
