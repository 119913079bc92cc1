#pragma once

#include <QAccessibleInterface>

class IControl;
class ViewAccessible;

// One control of the editor's screen as assistive technology sees it, or one option of a tab
// switch (a page tab). Roles: a tab switch is a page tab list of page tabs; a caption offering a
// menu is a combo box (other captions editable text); a number box is a spin box with a value
// interface; the toggle is a check box; a button is a button; a text display is static text; the
// activity light is a graphic. Name: the control's name, else its label, else (static text)
// its text. Value: what the control shows. Description: its tooltip (with the greyed-out reason).
//
// The value also reads as the control's text (read-only), which is where AT-SPI screen readers
// take what a combo box or a spin box shows.
//
// Actions go through the control's keyboard code, and so through the same code as the mouse:
// press clicks it, showMenu opens a caption's menu, increase and decrease step a value; a spin
// box's value set through the value interface is taken as typed text.
//
// `view` owns this interface and outlives it; the control lives as long as the view's context,
// and every call checks that the view is still open first.
// [main thread]
class ControlAccessible final : public QAccessibleInterface,
                                public QAccessibleActionInterface,
                                public QAccessibleValueInterface,
                                public QAccessibleTextInterface
{
public:
    ControlAccessible(ViewAccessible& view, IControl& control, int option);

    bool isValid() const override;
    QObject* object() const override { return nullptr; }
    QWindow* window() const override;
    QAccessibleInterface* parent() const override;
    QAccessibleInterface* child(int index) const override;
    int childCount() const override;
    int indexOfChild(const QAccessibleInterface* child) const override;
    QAccessibleInterface* childAt(int x, int y) const override;
    QString text(QAccessible::Text t) const override;
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override;
    QAccessible::Role role() const override;
    QAccessible::State state() const override;
    void* interface_cast(QAccessible::InterfaceType type) override;

    QStringList actionNames() const override;
    void doAction(const QString& actionName) override;
    QStringList keyBindingsForAction(const QString&) const override { return {}; }

    QVariant currentValue() const override;
    void setCurrentValue(const QVariant& value) override;
    QVariant maximumValue() const override;
    QVariant minimumValue() const override;
    QVariant minimumStepSize() const override;

    // The value as read-only text: no selection, the cursor at 0.
    void selection(int, int* startOffset, int* endOffset) const override;
    int selectionCount() const override { return 0; }
    void addSelection(int, int) override {}
    void removeSelection(int) override {}
    void setSelection(int, int, int) override {}
    int cursorPosition() const override { return 0; }
    void setCursorPosition(int) override {}
    QString text(int startOffset, int endOffset) const override;
    int characterCount() const override;
    QRect characterRect(int) const override { return rect(); }
    int offsetAtPoint(const QPoint&) const override { return -1; }
    void scrollToSubstring(int, int) override {}
    QString attributes(int offset, int* startOffset, int* endOffset) const override;

    IControl& Control() const { return mControl; }
    int Option() const { return mOption; }

private:
    ViewAccessible& mView;
    IControl& mControl;
    int mOption; // -1: the control itself
};
