#pragma once

#include "core/IEditorView.h"
#include "core/IParam.h"
#include "core/MidiRecords.h"
#include "core/ParamChange.h"

#include <memory>
#include <vector>

// The application object as its view sees it: the parameter list, the operations controls call,
// the operations that push values and messages to the controls, and the view-side hooks.
//
// Threads: everything here runs on the main thread, except parameter value reads (IParam).
class IEditorDelegate
{
public:
    explicit IEditorDelegate(int nParams);
    virtual ~IEditorDelegate() = default;
    IEditorDelegate(const IEditorDelegate&) = delete;
    IEditorDelegate& operator=(const IEditorDelegate&) = delete;

    int NParams() const { return static_cast<int>(mParams.size()); }
    IParam* GetParam(int paramIdx) { return mParams.at(paramIdx).get(); }
    const IParam* GetParam(int paramIdx) const { return mParams.at(paramIdx).get(); }

    // From the view.
    virtual void SendParamFromView(int paramIdx, double normalized) = 0;
    virtual void BeginParamEditFromView(int) {}
    virtual void EndParamEditFromView(int) {}
    // The view's new size in pixels; when the platform must resize, it becomes the size the main
    // window uses.
    virtual void ResizeFromView(int width, int height, bool needsPlatformResize);

    // To the view. `value` is normalized when `normalized` is set.
    void SendParamToView(int paramIdx, double value, bool normalized);
    void SendMidiToView(const MidiMessage& msg);
    void SendSysExToView(const SysExMessage& msg);

    // Hooks.
    virtual void OnParamChange(int paramIdx, ParamSource source, int sampleOffset);
    virtual void OnParamChange(int) {}
    virtual void OnParamChangeForView(int, ParamSource) {}
    virtual void OnMidiForView(const MidiMessage&) {}
    virtual void OnSysExForView(const SysExMessage&) {}

    // Every parameter from 0 upward: OnParamChange(i, source, -1), then OnParamChangeForView.
    void AnnounceAllParams(ParamSource source);

    // The view, while one is attached; not owned.
    void AttachView(IEditorView* view) { mView = view; }
    void DetachView() { mView = nullptr; }
    bool HasView() const { return mView != nullptr; }
    IEditorView* GetView() const { return mView; }

    int ViewWidth() const { return mViewWidth; }
    int ViewHeight() const { return mViewHeight; }
    void SetViewSize(int width, int height);

private:
    std::vector<std::unique_ptr<IParam>> mParams;
    IEditorView* mView = nullptr;
    int mViewWidth = 0;
    int mViewHeight = 0;
};
