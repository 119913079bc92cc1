#pragma once

#include "toolkit/IControl.h"
#include "toolkit/IVectorBase.h"

#include <string>
#include <string_view>

class ITextControl;
class IVButtonControl;

// A number box: edits a value in the bound parameter's own units (its "real value") by dragging,
// the wheel, typing, and a "+" and a "-" button. The left three quarters show the value in a
// readout formatted with a printf format; the right quarter holds "+" (top half) and "-" (bottom
// half). The readout and the buttons are child controls attached with the box; hiding or
// disabling the box hides or disables them too.
//
// Input (v the real value; the fine step applies while Shift or Ctrl is held):
// - drag by dY pixels (down positive): v -= dY * step;
// - wheel: one step per notch (IControl::OnMouseWheel's unit), up raises; fractions of a notch
//   from a touchpad add up until they make a whole notch, a reversal drops what has added up, and
//   an event with no vertical movement changes nothing;
// - double click on the readout: a text entry over it; the typed text read as a decimal number
//   (ParseNumberBoxText: anything else reads as 0);
// - "+" and "-": one step up or down when the button's splash ends;
// - keys (Tab stops at the box, not at its buttons): Up and Right as one wheel notch up, Down and
//   Left one down, Page Up and Page Down kPageNotches notches (the wheel's fine step with Shift or
//   Ctrl), Home and End the minimum and maximum (nothing sent when already there), Space and Enter
//   the text entry a double click on the readout opens.
// Every change clamps v into [minimum, maximum], reformats the readout and, for a bound box, sends
// the parameter's normalized form of v to the editor as a user edit and runs the action. A value
// the editor sets is taken without being sent back.
//
// The mouse cursor is hidden while the box is held (when the style hides it); the graphics context
// shows it again on the mouse up, also when the platform loses the press.
// [main thread]
class IVNumberBoxControl : public IControl, public IVectorBase
{
public:
    static constexpr double kStep = 1.0;
    static constexpr float kPageNotches = 10.f;
    // The fine step, exactly as a single-precision 0.1 (0.10000000149...).
    static constexpr double kFineStep = static_cast<double>(0.1f);
    static constexpr std::size_t kMaxFormatLength = 128;
    static constexpr std::size_t kMaxReadoutLength = 32;
    static constexpr const char* kDefaultFormat = "%0.0f";
    // Share of the box's width the readout takes.
    static constexpr float kReadoutFraction = 0.75f;

    // `minValue`, `maxValue` and `defaultValue` apply while the box is unbound; a bound box takes
    // the parameter's range and value when attached. A `format` that is not a single
    // floating-point conversion (optionally with flags, width, precision and "%%") is replaced by
    // kDefaultFormat.
    IVNumberBoxControl(const IRECT& bounds, int paramIdx = kNoParameter,
                       IActionFunction actionFunc = nullptr, std::string_view label = {},
                       const IVStyle& style = IVStyle(), double defaultValue = 50.0,
                       double minValue = 1.0, double maxValue = 100.0,
                       std::string_view format = kDefaultFormat);

    void Draw(Painter& painter) override;
    void OnMouseDown(float x, float y, const IMouseMod& mod) override;
    void OnMouseUp(float x, float y, const IMouseMod& mod) override;
    void OnMouseDrag(float x, float y, float dX, float dY, const IMouseMod& mod) override;
    void OnMouseDblClick(float x, float y, const IMouseMod& mod) override;
    void OnMouseWheel(float x, float y, const IMouseMod& mod, float d) override;
    void OnMouseOut() override;
    bool OnKeyDown(const IKeyPress& key) override;
    void OnResize() override;
    void OnAttached() override;
    void OnTextEntryCompletion(std::string_view text, int valIdx) override;
    void SetValueFromDelegate(double value, int valIdx = 0) override;
    void SetValueFromUserInput(double value, int valIdx = 0) override;

    double GetRealValue() const { return mRealValue; }
    double GetMinimum() const { return mMinValue; }
    double GetMaximum() const { return mMaxValue; }
    const std::string& GetFormat() const { return mFormat; }
    const std::string& GetReadoutText() const { return mReadoutText; }
    // The children; nullptr until the box is attached.
    ITextControl* GetReadout() const { return mReadout; }
    IVButtonControl* GetIncrementButton() const { return mIncButton; }
    IVButtonControl* GetDecrementButton() const { return mDecButton; }
    // Where the readout and the buttons lie (from the box's rectangle).
    IRECT GetReadoutBounds() const;
    IRECT GetIncrementBounds() const;
    IRECT GetDecrementBounds() const;

private:
    // Clamps, reformats the readout and hands the value on as a user edit.
    void OnValueChanged();
    void UpdateReadout();
    // The real value a normalized value stands for, and back.
    double FromNormalized(double normalized) const;
    double ToNormalized(double value) const;
    void EndGesture();

    std::string mFormat;
    std::string mReadoutText = "0";
    double mMinValue;
    double mMaxValue;
    double mRealValue;
    // Wheel notches received but not yet turned into a step; its sign is the direction.
    double mWheelRemainder = 0.0;
    // The parameter a begun edit gesture belongs to, kNoParameter outside a gesture.
    int mGestureParam = kNoParameter;
    ITextControl* mReadout = nullptr;
    IVButtonControl* mIncButton = nullptr;
    IVButtonControl* mDecButton = nullptr;
};

// The value of typed text: a decimal number (blanks around it ignored, a leading '+' or '-', a
// fraction and an exponent allowed; characters after the number are ignored). Anything else,
// including "nan", "inf" and a number too large for a double, reads as 0. Pure.
double ParseNumberBoxText(std::string_view text);

// True when `format` formats exactly one double: one conversion among f F e E g G a A with
// optional flags, width, precision and an 'l' length, besides any number of "%%". Pure.
bool IsNumberBoxFormat(std::string_view format);
