#include "core/IEditorDelegate.h"

#include "core/Trace.h"

IEditorDelegate::IEditorDelegate(int nParams)
{
    mParams.reserve(static_cast<std::size_t>(nParams));
    for (int i = 0; i < nParams; ++i)
        mParams.push_back(std::make_unique<IParam>());
}

void IEditorDelegate::ResizeFromView(int width, int height, bool needsPlatformResize)
{
    if (needsPlatformResize)
        SetViewSize(width, height);
}

void IEditorDelegate::SetViewSize(int width, int height)
{
    mViewWidth = width;
    mViewHeight = height;
}

void IEditorDelegate::SendParamToView(int paramIdx, double value, bool normalized)
{
    if (mView)
    {
        if (!normalized)
            value = GetParam(paramIdx)->ToNormalized(value);
        mView->SetParamFromDelegate(paramIdx, value);
    }
    OnParamChangeForView(paramIdx, ParamSource::kDelegate);
}

void IEditorDelegate::SendMidiToView(const MidiMessage& msg)
{
    if (mView)
        mView->SendMidiToControls(msg);
    OnMidiForView(msg);
}

void IEditorDelegate::SendSysExToView(const SysExMessage& msg)
{
    OnSysExForView(msg);
}

void IEditorDelegate::OnParamChange(int paramIdx, ParamSource source, int)
{
    Trace("idx:%i src:%s\n", paramIdx, ParamSourceLabel(source));
    OnParamChange(paramIdx);
}

void IEditorDelegate::AnnounceAllParams(ParamSource source)
{
    for (int i = 0; i < NParams(); ++i)
    {
        OnParamChange(i, source, -1);
        OnParamChangeForView(i, source);
    }
}
