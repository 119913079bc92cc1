#include "ui/LayoutGrid.h"

IRECT LayoutCell(int cellIdx)
{
    return kLayoutContent.GetGridCell(cellIdx, kLayoutRows, kLayoutColumns);
}

IRECT LayoutCells(int first, int last)
{
    IRECT cells;
    for (int cellIdx = first; cellIdx <= last; ++cellIdx)
        cells = cells.Union(LayoutCell(cellIdx));
    return cells;
}

IRECT LayoutRow(int row)
{
    return LayoutCells(row * kLayoutColumns, row * kLayoutColumns + kLayoutColumns - 1);
}
