#include "app/ControlAccessible.h"

#include "app/ViewAccessible.h"
#include "core/IParam.h"
#include "toolkit/ICaptionControl.h"
#include "toolkit/IGraphics.h"
#include "toolkit/IVButtonControl.h"
#include "toolkit/IVTabSwitchControl.h"
#include "toolkit/IVToggleControl.h"
#include "toolkit/ParamUserInput.h"
#include "ui/ILEDControl.h"
#include "ui/IVNumberBoxControl.h"

#include <QWindow>
#include <algorithm>

namespace
{
QString ToQString(const std::string& text)
{
    return QString::fromStdString(text);
}

IKeyPress Key(EKey key)
{
    return {key, 0, {}};
}

bool UsesMenu(const ICaptionControl& caption)
{
    const IParam* param = caption.GetParam();
    return param && ParamUsesMenu(*param);
}
} // namespace

ControlAccessible::ControlAccessible(ViewAccessible& view, IControl& control, int option)
    : mView(view), mControl(control), mOption(option)
{
}

bool ControlAccessible::isValid() const
{
    return mView.Graphics() != nullptr;
}

QWindow* ControlAccessible::window() const
{
    return mView.window();
}

QAccessibleInterface* ControlAccessible::parent() const
{
    if (mOption >= 0)
        return mView.InterfaceFor(&mControl);
    return &mView;
}

int ControlAccessible::childCount() const
{
    const auto* tabs = dynamic_cast<const IVTabSwitchControl*>(&mControl);
    return tabs && mOption < 0 && isValid() ? tabs->NOptions() : 0;
}

QAccessibleInterface* ControlAccessible::child(int index) const
{
    if (index < 0 || index >= childCount())
        return nullptr;
    return mView.InterfaceFor(&mControl, index);
}

int ControlAccessible::indexOfChild(const QAccessibleInterface* child) const
{
    const auto* option = dynamic_cast<const ControlAccessible*>(child);
    if (!option || &option->Control() != &mControl || mOption >= 0)
        return -1;
    return option->Option();
}

QAccessibleInterface* ControlAccessible::childAt(int x, int y) const
{
    for (int i = 0; i < childCount(); ++i)
    {
        QAccessibleInterface* option = child(i);
        if (option && option->rect().contains(x, y))
            return option;
    }
    return nullptr;
}

QString ControlAccessible::text(QAccessible::Text t) const
{
    if (!isValid())
        return {};
    const auto* tabs = dynamic_cast<const IVTabSwitchControl*>(&mControl);
    if (t == QAccessible::Description)
        return ToQString(mControl.GetTooltipText());
    if (t == QAccessible::Name)
    {
        if (tabs && mOption >= 0)
            return ToQString(tabs->GetOptionText(mOption));
        if (!mControl.GetName().empty())
            return ToQString(mControl.GetName());
        if (const auto* vector = dynamic_cast<const IVectorBase*>(&mControl))
            return ToQString(vector->GetLabelStr());
        if (const auto* display = dynamic_cast<const ITextControl*>(&mControl))
            return ToQString(display->GetStr());
        return {};
    }
    if (t != QAccessible::Value || mOption >= 0)
        return {};
    if (tabs)
        return ToQString(tabs->GetOptionText(tabs->GetSelectedIdx()));
    if (const auto* box = dynamic_cast<const IVNumberBoxControl*>(&mControl))
        return ToQString(box->GetReadoutText());
    if (const auto* display = dynamic_cast<const ITextControl*>(&mControl))
        return ToQString(display->GetStr());
    return {};
}

QRect ControlAccessible::rect() const
{
    if (!isValid())
        return {};
    const auto* tabs = dynamic_cast<const IVTabSwitchControl*>(&mControl);
    return mView.ScreenRect(tabs && mOption >= 0 ? tabs->GetOptionBounds(mOption)
                                                 : mControl.GetRECT());
}

QAccessible::Role ControlAccessible::role() const
{
    if (dynamic_cast<const IVTabSwitchControl*>(&mControl))
        return mOption >= 0 ? QAccessible::PageTab : QAccessible::PageTabList;
    if (const auto* caption = dynamic_cast<const ICaptionControl*>(&mControl))
        return UsesMenu(*caption) ? QAccessible::ComboBox : QAccessible::EditableText;
    if (dynamic_cast<const IVNumberBoxControl*>(&mControl))
        return QAccessible::SpinBox;
    if (dynamic_cast<const IVToggleControl*>(&mControl))
        return QAccessible::CheckBox;
    if (dynamic_cast<const IVButtonControl*>(&mControl))
        return QAccessible::Button;
    if (dynamic_cast<const ILEDControl*>(&mControl))
        return QAccessible::Graphic;
    if (dynamic_cast<const ITextControl*>(&mControl))
        return QAccessible::StaticText;
    return QAccessible::Graphic;
}

QAccessible::State ControlAccessible::state() const
{
    QAccessible::State state;
    const IGraphics* graphics = mView.Graphics();
    if (!graphics)
    {
        state.invisible = true;
        return state;
    }
    state.invisible = mControl.IsHidden();
    state.disabled = mControl.IsDisabled();
    if (const auto* tabs = dynamic_cast<const IVTabSwitchControl*>(&mControl); tabs && mOption >= 0)
    {
        state.selectable = true;
        state.selected = tabs->GetSelectedIdx() == mOption;
        state.checked = state.selected;
        return state;
    }
    state.focusable = mControl.TakesFocus();
    state.focused = graphics->GetKeyboardFocus().GetFocus() == &mControl;
    if (const auto* toggle = dynamic_cast<const IVToggleControl*>(&mControl))
    {
        state.checkable = true;
        state.checked = toggle->IsOn();
    }
    if (const auto* caption = dynamic_cast<const ICaptionControl*>(&mControl))
        state.hasPopup = UsesMenu(*caption);
    state.readOnly = role() == QAccessible::StaticText;
    return state;
}

void* ControlAccessible::interface_cast(QAccessible::InterfaceType type)
{
    if (type == QAccessible::ActionInterface && !actionNames().isEmpty())
        return static_cast<QAccessibleActionInterface*>(this);
    const bool box = dynamic_cast<IVNumberBoxControl*>(&mControl) != nullptr;
    if (type == QAccessible::ValueInterface && box)
        return static_cast<QAccessibleValueInterface*>(this);
    if (type == QAccessible::TextInterface && mOption < 0 &&
        (box || dynamic_cast<ITextControl*>(&mControl)))
        return static_cast<QAccessibleTextInterface*>(this);
    return nullptr;
}

QStringList ControlAccessible::actionNames() const
{
    if (!isValid() || (mOption < 0 && !mControl.TakesFocus()))
        return {};
    switch (role())
    {
    case QAccessible::ComboBox:
        return {showMenuAction(), increaseAction(), decreaseAction()};
    case QAccessible::SpinBox:
        return {increaseAction(), decreaseAction()};
    case QAccessible::PageTabList:
        return {};
    default:
        return {pressAction()};
    }
}

void ControlAccessible::doAction(const QString& actionName)
{
    // Greyed out or hidden, it takes nothing, as it takes no click.
    if (!actionNames().contains(actionName) || mControl.IsDisabled() || mControl.IsHidden())
        return;
    auto* tabs = dynamic_cast<IVTabSwitchControl*>(&mControl);
    const bool list = role() == QAccessible::ComboBox; // the next entry lies below
    if (tabs && mOption >= 0)
        tabs->ClickOption(mOption);
    else if (actionName == pressAction() || actionName == showMenuAction())
        mControl.OnKeyDown(Key(EKey::kEnter));
    else if (actionName == increaseAction())
        mControl.OnKeyDown(Key(list ? EKey::kDown : EKey::kUp));
    else if (actionName == decreaseAction())
        mControl.OnKeyDown(Key(list ? EKey::kUp : EKey::kDown));
}

QVariant ControlAccessible::currentValue() const
{
    const auto* box = dynamic_cast<const IVNumberBoxControl*>(&mControl);
    return box && isValid() ? QVariant(box->GetRealValue()) : QVariant();
}

void ControlAccessible::setCurrentValue(const QVariant& value)
{
    auto* box = dynamic_cast<IVNumberBoxControl*>(&mControl);
    if (box && isValid() && !mControl.IsDisabled())
        box->OnTextEntryCompletion(QString::number(value.toDouble()).toStdString(), 0);
}

QVariant ControlAccessible::maximumValue() const
{
    const auto* box = dynamic_cast<const IVNumberBoxControl*>(&mControl);
    return box ? QVariant(box->GetMaximum()) : QVariant();
}

QVariant ControlAccessible::minimumValue() const
{
    const auto* box = dynamic_cast<const IVNumberBoxControl*>(&mControl);
    return box ? QVariant(box->GetMinimum()) : QVariant();
}

QVariant ControlAccessible::minimumStepSize() const
{
    return QVariant(IVNumberBoxControl::kStep);
}

void ControlAccessible::selection(int, int* startOffset, int* endOffset) const
{
    *startOffset = 0;
    *endOffset = 0;
}

QString ControlAccessible::text(int startOffset, int endOffset) const
{
    const QString value = text(QAccessible::Value);
    if (endOffset < 0 || endOffset > value.size())
        endOffset = static_cast<int>(value.size());
    startOffset = std::clamp(startOffset, 0, endOffset);
    return value.mid(startOffset, endOffset - startOffset);
}

int ControlAccessible::characterCount() const
{
    return static_cast<int>(text(QAccessible::Value).size());
}

QString ControlAccessible::attributes(int, int* startOffset, int* endOffset) const
{
    *startOffset = 0;
    *endOffset = characterCount();
    return {};
}
