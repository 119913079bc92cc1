#pragma once

#include "toolkit/IRECT.h"

// The grid the editor screen is laid out on: the 1024 x 768 window inset by 5 on every side,
// divided into 48 rows and 2 columns. Cells are numbered row by row from the top left: cell k lies
// in row k / 2 and column k % 2. All rectangles are in design pixels. Pure functions.

inline constexpr float kLayoutWidth = 1024.f;
inline constexpr float kLayoutHeight = 768.f;
inline constexpr int kLayoutRows = 48;
inline constexpr int kLayoutColumns = 2;
inline constexpr IRECT kLayoutContent{5.f, 5.f, kLayoutWidth - 5.f, kLayoutHeight - 5.f};

// Cell `cellIdx` (0 .. 95).
IRECT LayoutCell(int cellIdx);
// The union of cells `first` to `last`.
IRECT LayoutCells(int first, int last);
// Both cells of row `row` (0 .. 47): the full width of the content.
IRECT LayoutRow(int row);
