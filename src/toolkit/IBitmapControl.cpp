#include "toolkit/IBitmapControl.h"

#include "toolkit/Painter.h"

#include <algorithm>
#include <cmath>

IBitmapControl::IBitmapControl(float x, float y, const IBitmap& bitmap, int paramIdx)
    : IBitmapControl(IRECT::MakeXYWH(x, y, static_cast<float>(bitmap.FrameWidth()),
                                     static_cast<float>(bitmap.FrameHeight())),
                     bitmap, paramIdx)
{
}

IBitmapControl::IBitmapControl(const IRECT& bounds, const IBitmap& bitmap, int paramIdx)
    : IControl(bounds, paramIdx), mBitmap(bitmap)
{
}

void IBitmapControl::Draw(Painter& painter)
{
    if (mBitmap.IsValid())
        painter.DrawBitmap(mBitmap, GetRECT(), GetFrameIndex(), GetBlend());
}

int IBitmapControl::GetFrameIndex() const
{
    const int last = mBitmap.NFrames() - 1;
    const int frame = static_cast<int>(std::lround(GetValue() * last));
    return std::clamp(frame, 0, last);
}

void IBitmapControl::SetBitmap(const IBitmap& bitmap)
{
    mBitmap = bitmap;
    SetDirty(false);
}
