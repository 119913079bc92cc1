#include "toolkit/IRECT.h"

#include <algorithm>
#include <cmath>

bool IRECT::Contains(float x, float y) const
{
    return x >= L && x < R && y >= T && y < B;
}

bool IRECT::Contains(const IRECT& rect) const
{
    return rect.L >= L && rect.T >= T && rect.R <= R && rect.B <= B;
}

bool IRECT::Intersects(const IRECT& rect) const
{
    return !HasNoArea() && !rect.HasNoArea() && rect.L < R && rect.R > L && rect.T < B &&
           rect.B > T;
}

IRECT IRECT::Union(const IRECT& rect) const
{
    if (Empty())
        return rect;
    if (rect.Empty())
        return *this;
    return {std::min(L, rect.L), std::min(T, rect.T), std::max(R, rect.R), std::max(B, rect.B)};
}

IRECT IRECT::Intersect(const IRECT& rect) const
{
    if (!Intersects(rect))
        return {};
    return {std::max(L, rect.L), std::max(T, rect.T), std::min(R, rect.R), std::min(B, rect.B)};
}

IRECT IRECT::SubRectHorizontal(int n, int i) const
{
    if (n < 1)
        return *this;
    const float w = W() / static_cast<float>(n);
    const float l = L + w * static_cast<float>(i);
    // The last slice ends exactly on the right edge, whatever the rounding.
    return {l, T, i == n - 1 ? R : l + w, B};
}

IRECT IRECT::SubRectVertical(int n, int i) const
{
    if (n < 1)
        return *this;
    const float h = H() / static_cast<float>(n);
    const float t = T + h * static_cast<float>(i);
    return {L, t, R, i == n - 1 ? B : t + h};
}

IRECT IRECT::GetGridCell(int cellIdx, int nRows, int nCols) const
{
    if (nRows < 1 || nCols < 1)
        return *this;
    const int row = cellIdx / nCols;
    const int col = cellIdx % nCols;
    const float w = W() / static_cast<float>(nCols);
    const float h = H() / static_cast<float>(nRows);
    const float l = L + w * static_cast<float>(col);
    const float t = T + h * static_cast<float>(row);
    return {l, t, l + w, t + h};
}

IRECT IRECT::GetCentredInside(float w, float h) const
{
    const float l = MW() - 0.5f * w;
    const float t = MH() - 0.5f * h;
    return {l, t, l + w, t + h};
}

IRECT IRECT::GetPixelAligned() const
{
    return {std::floor(L), std::floor(T), std::ceil(R), std::ceil(B)};
}
