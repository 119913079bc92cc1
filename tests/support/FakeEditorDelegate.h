#pragma once

#include "core/IGEditorDelegate.h"

#include <vector>

// An editor delegate for toolkit tests: parameters set up by the test, SendParamFromView stores
// the value in the parameter and records the call, and the view-side calls are recorded too.
class FakeEditorDelegate : public IGEditorDelegate
{
public:
    struct SentParam
    {
        int paramIdx = 0;
        double normalized = 0.0;
    };
    struct Resize
    {
        int width = 0;
        int height = 0;
        bool needsPlatformResize = false;
    };

    explicit FakeEditorDelegate(int nParams) : IGEditorDelegate(nParams) {}

    void SendParamFromView(int paramIdx, double normalized) override;
    void BeginParamEditFromView(int paramIdx) override { mBeginEdits.push_back(paramIdx); }
    void EndParamEditFromView(int paramIdx) override { mEndEdits.push_back(paramIdx); }
    void ResizeFromView(int width, int height, bool needsPlatformResize) override;

    const std::vector<SentParam>& SentParams() const { return mSentParams; }
    const std::vector<int>& BeginEdits() const { return mBeginEdits; }
    const std::vector<int>& EndEdits() const { return mEndEdits; }
    const std::vector<Resize>& Resizes() const { return mResizes; }
    void ClearRecords();

private:
    std::vector<SentParam> mSentParams;
    std::vector<int> mBeginEdits;
    std::vector<int> mEndEdits;
    std::vector<Resize> mResizes;
};
