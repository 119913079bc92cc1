#include "support/FakeEditorDelegate.h"

void FakeEditorDelegate::SendParamFromView(int paramIdx, double normalized)
{
    mSentParams.push_back({paramIdx, normalized});
    if (paramIdx >= 0 && paramIdx < NParams())
        GetParam(paramIdx)->SetNormalized(normalized);
}

void FakeEditorDelegate::ResizeFromView(int width, int height, bool needsPlatformResize)
{
    mResizes.push_back({width, height, needsPlatformResize});
    IGEditorDelegate::ResizeFromView(width, height, needsPlatformResize);
}

void FakeEditorDelegate::ClearRecords()
{
    mSentParams.clear();
    mBeginEdits.clear();
    mEndEdits.clear();
    mResizes.clear();
}
