#pragma once

// A rectangle in design pixels (scale 1): left, top, right, bottom. A plain value type.
//
// Containment of points is half-open (left <= x < right, top <= y < bottom), so neighbouring
// rectangles never both contain a point, and an all-zero rectangle contains nothing.
struct IRECT
{
    float L = 0.f;
    float T = 0.f;
    float R = 0.f;
    float B = 0.f;

    constexpr IRECT() = default;
    constexpr IRECT(float l, float t, float r, float b) : L(l), T(t), R(r), B(b) {}

    static constexpr IRECT MakeXYWH(float x, float y, float w, float h)
    {
        return {x, y, x + w, y + h};
    }

    constexpr float W() const { return R - L; }
    constexpr float H() const { return B - T; }
    // Horizontal and vertical middle.
    constexpr float MW() const { return 0.5f * (L + R); }
    constexpr float MH() const { return 0.5f * (T + B); }

    // All four coordinates zero: the "no rectangle" value that unions ignore.
    constexpr bool Empty() const { return L == 0.f && T == 0.f && R == 0.f && B == 0.f; }
    // True when the rectangle covers no area at all (empty or inverted).
    constexpr bool HasNoArea() const { return !(R > L && B > T); }

    bool Contains(float x, float y) const;
    // `rect` lies inside this one (edges may touch).
    bool Contains(const IRECT& rect) const;
    // The two share some area.
    bool Intersects(const IRECT& rect) const;

    // The smallest rectangle holding both; an empty rectangle yields the other.
    IRECT Union(const IRECT& rect) const;
    // The common area, or an empty rectangle when they share none.
    IRECT Intersect(const IRECT& rect) const;

    // Slice `i` of `n` equal side-by-side (horizontal) or stacked (vertical) slices. `n` below 1
    // gives the whole rectangle.
    IRECT SubRectHorizontal(int n, int i) const;
    IRECT SubRectVertical(int n, int i) const;
    // Cell `cellIdx` of a grid of `nRows` x `nCols` equal cells numbered row by row from the top
    // left: row cellIdx / nCols, column cellIdx % nCols.
    IRECT GetGridCell(int cellIdx, int nRows, int nCols) const;

    // Strips of the given size along one edge.
    IRECT GetFromTop(float size) const { return {L, T, R, T + size}; }
    IRECT GetFromBottom(float size) const { return {L, B - size, R, B}; }
    IRECT GetFromLeft(float size) const { return {L, T, L + size, B}; }
    IRECT GetFromRight(float size) const { return {R - size, T, R, B}; }
    // What is left after removing a strip of the given size along one edge.
    IRECT GetReducedFromTop(float size) const { return {L, T + size, R, B}; }
    IRECT GetReducedFromBottom(float size) const { return {L, T, R, B - size}; }
    IRECT GetReducedFromLeft(float size) const { return {L + size, T, R, B}; }
    IRECT GetReducedFromRight(float size) const { return {L, T, R - size, B}; }

    // The band centre +- p: vertical (left and right kept) or horizontal (top and bottom kept).
    IRECT GetMidVPadded(float p) const { return {L, MH() - p, R, MH() + p}; }
    IRECT GetMidHPadded(float p) const { return {MW() - p, T, MW() + p, B}; }
    // A `w` x `h` rectangle centred on this one's centre.
    IRECT GetCentredInside(float w, float h) const;

    // Grown by `p` on every side (negative shrinks), or by each amount on its own side.
    IRECT GetPadded(float p) const { return {L - p, T - p, R + p, B + p}; }
    IRECT GetPadded(float l, float t, float r, float b) const
    {
        return {L - l, T - t, R + r, B + b};
    }
    IRECT GetTranslated(float dx, float dy) const { return {L + dx, T + dy, R + dx, B + dy}; }
    // Every coordinate multiplied by `scale` (design pixels to device pixels and back).
    IRECT GetScaled(float scale) const { return {L * scale, T * scale, R * scale, B * scale}; }
    // Left and top rounded down, right and bottom up: the whole pixels the rectangle touches.
    IRECT GetPixelAligned() const;

    constexpr bool operator==(const IRECT&) const = default;
};
