#pragma once

#include "core/IEditorDelegate.h"

#include <functional>

class IGraphics; // the toolkit's graphics context

// Adds the graphics view's lifecycle: the layout function that builds the controls, and the hook
// that runs before the view goes away.
// [main thread]
class IGEditorDelegate : public IEditorDelegate
{
public:
    using LayoutFunc = std::function<void(IGraphics& graphics)>;

    using IEditorDelegate::IEditorDelegate;

    void SetLayoutFunc(LayoutFunc layoutFunc) { mLayoutFunc = std::move(layoutFunc); }

    // Attaches `view` (the same object as `graphics`, seen through the core's interface) and runs
    // the layout function on it. Both must outlive CloseView().
    void OpenView(IGraphics& graphics, IEditorView& view);
    // OnViewClosing(), then the view is detached. Does nothing without a view.
    void CloseView();
    IGraphics* GetUI() const { return mGraphics; }

    virtual void OnViewClosing() {}

private:
    LayoutFunc mLayoutFunc;
    IGraphics* mGraphics = nullptr;
};
