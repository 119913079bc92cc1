#include "app/ViewAccessible.h"

#include "app/ControlAccessible.h"
#include "app/ViewWidget.h"
#include "toolkit/IGraphics.h"
#include "toolkit/ITextControl.h"
#include "ui/IVNumberBoxControl.h"

#include <QAccessibleEvent>
#include <algorithm>
#include <cmath>

namespace
{
bool IsWithin(const IControl* control, const IControl* ancestor)
{
    for (; control; control = control->GetParent())
    {
        if (control == ancestor)
            return true;
    }
    return false;
}

QAccessibleInterface* MakeViewInterface(const QString&, QObject* object)
{
    // Not a qobject_cast: the view has no meta-object of its own.
    if (auto* view = dynamic_cast<ViewWidget*>(object))
        return new ViewAccessible(view, view->OpenToken());
    return nullptr;
}
} // namespace

ViewAccessible::ViewAccessible(ViewWidget* view, std::shared_ptr<const bool> open)
    : QAccessibleWidget(view, QAccessible::Client, QStringLiteral("ctrlWave Stomplet editor")),
      mView(view), mOpen(std::move(open))
{
}

ViewAccessible::~ViewAccessible()
{
    for (const auto& [key, id] : mInterfaces)
        QAccessible::deleteAccessibleInterface(id);
}

void ViewAccessible::InstallFactory()
{
    static const bool installed = []
    {
        QAccessible::installFactory(MakeViewInterface);
        return true;
    }();
    (void)installed;
}

IGraphics* ViewAccessible::Graphics() const
{
    return mOpen && *mOpen ? &mView->Graphics() : nullptr;
}

std::vector<IControl*> ViewAccessible::Children() const
{
    std::vector<IControl*> children;
    IGraphics* graphics = Graphics();
    if (!graphics)
        return children;
    for (int i = 0; i < graphics->NControls(); ++i)
    {
        IControl* control = graphics->GetControl(i);
        if (control->IsHidden() || control->GetParent() ||
            (control->GetName().empty() && control->GetTooltip().empty()))
            continue;
        // A display with nothing in it has nothing to read.
        if (const auto* display = dynamic_cast<const ITextControl*>(control);
            display && display->GetStr().empty() && control->GetName().empty())
            continue;
        // Covered: what the mouse reaches at its centre lies above it.
        const IRECT& r = control->GetRECT();
        const IControl* hit = graphics->GetMouseControl(r.MW(), r.MH());
        if (hit && !IsWithin(hit, control) && graphics->GetControlIdx(hit) > i)
            continue;
        children.push_back(control);
    }
    std::stable_sort(children.begin(), children.end(),
                     [](const IControl* a, const IControl* b)
                     {
                         const float rowA = std::round(a->GetRECT().T);
                         const float rowB = std::round(b->GetRECT().T);
                         return rowA != rowB ? rowA < rowB : a->GetRECT().L < b->GetRECT().L;
                     });
    return children;
}

int ViewAccessible::childCount() const
{
    return static_cast<int>(Children().size());
}

QAccessibleInterface* ViewAccessible::child(int index) const
{
    const std::vector<IControl*> children = Children();
    if (index < 0 || index >= static_cast<int>(children.size()))
        return nullptr;
    return InterfaceFor(children[static_cast<std::size_t>(index)]);
}

int ViewAccessible::indexOfChild(const QAccessibleInterface* child) const
{
    const auto* control = dynamic_cast<const ControlAccessible*>(child);
    if (!control || control->Option() >= 0)
        return -1;
    const std::vector<IControl*> children = Children();
    const auto at = std::find(children.begin(), children.end(), &control->Control());
    return at == children.end() ? -1 : static_cast<int>(at - children.begin());
}

QAccessibleInterface* ViewAccessible::childAt(int x, int y) const
{
    // The topmost: the last attached among those that contain the point.
    IGraphics* graphics = Graphics();
    IControl* found = nullptr;
    for (IControl* control : Children())
    {
        if (ScreenRect(control->GetRECT()).contains(x, y) &&
            (!found || graphics->GetControlIdx(control) > graphics->GetControlIdx(found)))
            found = control;
    }
    return found ? InterfaceFor(found) : nullptr;
}

QAccessibleInterface* ViewAccessible::focusChild() const
{
    IGraphics* graphics = Graphics();
    IControl* focus = graphics ? graphics->GetKeyboardFocus().GetFocus() : nullptr;
    return focus ? InterfaceFor(focus) : nullptr;
}

QAccessibleInterface* ViewAccessible::InterfaceFor(IControl* control, int option) const
{
    if (!control || !Graphics())
        return nullptr;
    const auto key = std::make_pair(static_cast<const IControl*>(control), option);
    if (const auto found = mInterfaces.find(key); found != mInterfaces.end())
        return QAccessible::accessibleInterface(found->second);
    auto* iface = new ControlAccessible(const_cast<ViewAccessible&>(*this), *control, option);
    mInterfaces[key] = QAccessible::registerAccessibleInterface(iface);
    return iface;
}

QRect ViewAccessible::ScreenRect(const IRECT& designRect) const
{
    const IGraphics* graphics = Graphics();
    const float scale = graphics ? graphics->GetDrawScale() : 1.f;
    const IRECT r = designRect.GetScaled(scale);
    // The design may lie letterboxed inside the view.
    const QPoint topLeft =
        mView->mapToGlobal(mView->DesignOrigin() + QPoint(static_cast<int>(std::floor(r.L)),
                                                          static_cast<int>(std::floor(r.T))));
    return QRect(topLeft,
                 QSize(static_cast<int>(std::ceil(r.W())), static_cast<int>(std::ceil(r.H()))));
}

void ViewAccessible::Refresh(const PostFunc& post)
{
    IGraphics* graphics = Graphics();
    if (!graphics)
        return;
    const std::vector<IControl*> children = Children();
    if (children != mAnnouncedChildren)
    {
        QAccessibleEvent reorder(this, QAccessible::ObjectReorder);
        post(&reorder);
    }
    std::map<const IControl*, QString> values;
    for (IControl* control : children)
    {
        QAccessibleInterface* iface = InterfaceFor(control);
        const QString value = iface->text(QAccessible::Value);
        values[control] = value;
        const auto before = mAnnouncedValues.find(control);
        if (before == mAnnouncedValues.end() || before->second == value)
            continue;
        const auto* box = dynamic_cast<const IVNumberBoxControl*>(control);
        QAccessibleValueChangeEvent changed(iface,
                                            box ? QVariant(box->GetRealValue()) : QVariant(value));
        post(&changed);
    }
    const IControl* focus = graphics->GetKeyboardFocus().GetFocus();
    if (focus && focus != mAnnouncedFocus)
    {
        QAccessibleEvent focused(InterfaceFor(const_cast<IControl*>(focus)), QAccessible::Focus);
        post(&focused);
    }
    mAnnouncedChildren = children;
    mAnnouncedValues = std::move(values);
    mAnnouncedFocus = focus;
}
