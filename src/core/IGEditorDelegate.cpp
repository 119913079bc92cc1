#include "core/IGEditorDelegate.h"

void IGEditorDelegate::OpenView(IGraphics& graphics, IEditorView& view)
{
    mGraphics = &graphics;
    AttachView(&view);
    if (mLayoutFunc)
        mLayoutFunc(graphics);
}

void IGEditorDelegate::CloseView()
{
    if (!HasView())
        return;
    OnViewClosing();
    DetachView();
    mGraphics = nullptr;
}
