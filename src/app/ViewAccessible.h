#pragma once

#include <QAccessibleWidget>
#include <QString>
#include <functional>
#include <map>
#include <memory>
#include <utility>
#include <vector>

class IControl;
class IGraphics;
class ViewWidget;
struct IRECT;

// What assistive technology (AT-SPI screen readers on Linux) sees of the editor's view: the view
// as a client area whose children are the screen's controls, each a ControlAccessible with the
// caption beside it as name, a role, its value text and its state.
//
// The children are the controls that are shown, not covered where the mouse would reach them
// (an overlay, the About page or the standalone notice hides what lies below), and have a name or
// a tooltip, and are not an empty display; labels that only name another control are not among
// them. They are listed in reading
// order. Each control's interface is made once and kept, registered with QAccessible, until this
// interface goes away with the view; once the view is closing every child reports itself invalid.
//
// Refresh announces what changed since it last ran: the set of children (a reorder), each
// child's value (a value change) and the keyboard focus (a focus event), through `post`
// (the view passes QAccessible::updateAccessibility).
// [main thread]
class ViewAccessible final : public QAccessibleWidget
{
public:
    // `open` turns false when the view begins closing; the view outlives this interface.
    ViewAccessible(ViewWidget* view, std::shared_ptr<const bool> open);
    ~ViewAccessible() override;
    ViewAccessible(const ViewAccessible&) = delete;
    ViewAccessible& operator=(const ViewAccessible&) = delete;

    // Installs, once per process, the factory that gives every ViewWidget this interface.
    static void InstallFactory();

    int childCount() const override;
    QAccessibleInterface* child(int index) const override;
    int indexOfChild(const QAccessibleInterface* child) const override;
    QAccessibleInterface* childAt(int x, int y) const override;
    QAccessibleInterface* focusChild() const override;

    // The view's context; nullptr once the view is closing.
    IGraphics* Graphics() const;
    // The interface of `control`, or of option `option` of a tab switch (-1: the control itself).
    QAccessibleInterface* InterfaceFor(IControl* control, int option = -1) const;
    // A design rectangle in screen pixels.
    QRect ScreenRect(const IRECT& designRect) const;
    using PostFunc = std::function<void(QAccessibleEvent* event)>;
    void Refresh(const PostFunc& post);

private:
    std::vector<IControl*> Children() const;

    ViewWidget* mView;
    std::shared_ptr<const bool> mOpen;
    mutable std::map<std::pair<const IControl*, int>, QAccessible::Id> mInterfaces;
    // What Refresh last announced.
    std::vector<IControl*> mAnnouncedChildren;
    std::map<const IControl*, QString> mAnnouncedValues;
    const IControl* mAnnouncedFocus = nullptr;
};
