#pragma once

#include "toolkit/IBitmap.h"
#include "toolkit/IControl.h"

// A bitmap display: one frame of a multi-frame image at a fixed position, its rectangle one frame
// in size. The frame follows the control's value (and so the bound parameter's normalized value):
// the first frame at 0, the last at 1, the nearest one between.
// [main thread]
class IBitmapControl : public IControl
{
public:
    IBitmapControl(float x, float y, const IBitmap& bitmap, int paramIdx = kNoParameter);
    IBitmapControl(const IRECT& bounds, const IBitmap& bitmap, int paramIdx = kNoParameter);

    void Draw(Painter& painter) override;

    // The frame (0 .. NFrames() - 1) the current value selects.
    int GetFrameIndex() const;
    const IBitmap& GetBitmap() const { return mBitmap; }
    void SetBitmap(const IBitmap& bitmap);

private:
    IBitmap mBitmap;
};
