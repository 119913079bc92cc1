#pragma once

#include "core/MidiRecords.h"
#include "toolkit/IBlend.h"
#include "toolkit/IKeyPress.h"
#include "toolkit/IMouseMod.h"
#include "toolkit/IRECT.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

class IControl;
class IGEditorDelegate;
class IGraphics;
class IParam;
class Painter;

// Runs with the control that caused it: after user input (the action) or when an animation ends.
using IActionFunction = std::function<void(IControl* caller)>;
// Runs once per frame while an animation is set; it reads GetAnimationProgress() and calls
// OnEndAnimation() once the progress passes 1.
using IAnimationFunction = std::function<void(IControl* caller)>;

inline constexpr int kNoParameter = -1;
inline constexpr int kNoValIdx = -1;
inline constexpr int kNoTag = -1;

// The base of every control: a rectangle, value slots (each a normalized value 0-1, bound to a
// parameter or not), an action, an animation with its end action, flags (hidden, disabled,
// ignore-mouse, mouse-over), a dirty flag and the tag and group the graphics context files it
// under. Subclasses draw through Painter and override the mouse handlers they need.
//
// A control is owned by the graphics context it is attached to and lives as long as the context.
// Before it is attached it has no context: values can be set, but nothing reaches an editor and
// animations never run.
// [main thread]
class IControl
{
public:
    static constexpr float kDisabledBlendWeight = 0.25f;
    // How far a control may draw outside its rectangle, in design pixels.
    static constexpr float kDrawOverhang = 8.f;

    // One value slot bound to `paramIdx` (kNoParameter: unbound).
    explicit IControl(const IRECT& bounds, int paramIdx = kNoParameter,
                      IActionFunction actionFunc = nullptr);
    // One value slot per entry of `paramIdxs`, bound in order (at least one slot).
    IControl(const IRECT& bounds, const std::vector<int>& paramIdxs,
             IActionFunction actionFunc = nullptr);
    // One unbound value slot.
    IControl(const IRECT& bounds, IActionFunction actionFunc);
    virtual ~IControl() = default;
    IControl(const IControl&) = delete;
    IControl& operator=(const IControl&) = delete;

    // Drawing, in design pixels, with GetBlend() on every call.
    virtual void Draw(Painter& painter) = 0;

    // Mouse events at (x, y) in design pixels. A control that receives a mouse down also receives
    // the drags and the mouse up of that press. The defaults do nothing, except that a double
    // click counts as a mouse down.
    virtual void OnMouseDown(float x, float y, const IMouseMod& mod);
    virtual void OnMouseUp(float x, float y, const IMouseMod& mod);
    // (dX, dY): movement since the last event; down and right are positive.
    virtual void OnMouseDrag(float x, float y, float dX, float dY, const IMouseMod& mod);
    virtual void OnMouseDblClick(float x, float y, const IMouseMod& mod);
    // `d`: wheel notches, positive away from the user; one notch of a plain wheel is 1, touchpads
    // give fractions.
    virtual void OnMouseWheel(float x, float y, const IMouseMod& mod, float d);
    // The mouse moves over the control (only while the context tracks mouse-over); the default
    // sets the mouse-over flag and redraws when it changed.
    virtual void OnMouseOver(float x, float y, const IMouseMod& mod);
    virtual void OnMouseOut();
    // Whether (x, y) hits the control; the default tests the target rectangle.
    virtual bool IsHit(float x, float y) const;

    // A key while the control has the keyboard focus; true when the control used it. The default
    // presses the control with Space and Enter (ClickAt its target's centre) when it takes the
    // focus, and leaves every other key.
    virtual bool OnKeyDown(const IKeyPress& key);
    // A left click at (x, y) delivered through the context, exactly as the mouse delivers one (the
    // control the mouse would hit there gets it); nothing while detached.
    void ClickAt(float x, float y);
    // Whether Tab stops at the control while it is shown, enabled and not covered at its centre.
    void SetTakesFocus(bool takes) { mTakesFocus = takes; }
    bool TakesFocus() const { return mTakesFocus; }

    // What the control is called (the caption beside it, for screen readers), what it does (its
    // tooltip) and why it may be greyed out. Empty: none. UTF-8.
    void SetName(std::string_view name) { mName = std::string(name); }
    const std::string& GetName() const { return mName; }
    void SetTooltip(std::string_view tooltip) { mTooltip = std::string(tooltip); }
    const std::string& GetTooltip() const { return mTooltip; }
    void SetDisabledReason(std::string_view reason) { mDisabledReason = std::string(reason); }
    const std::string& GetDisabledReason() const { return mDisabledReason; }
    // The tooltip, and while disabled the reason on a second line.
    std::string GetTooltipText() const;

    // A MIDI message from the editor; reaches only controls that want MIDI.
    virtual void OnMidi(const MidiMessage& msg);
    bool WantsMidi() const { return mWantsMidi; }
    void SetWantsMidi(bool wants) { mWantsMidi = wants; }

    // After the context has attached the control (context, tag and group set, bound slots holding
    // their parameters' values). Children may be attached here.
    virtual void OnAttached();
    // After the rectangles changed.
    virtual void OnResize();

    // A pop-up menu this control asked for closed: `itemIdx` chosen, or nullopt. The default sets
    // the bound parameter of `valIdx` to the chosen item of its menu.
    virtual void OnPopupMenuSelection(std::optional<int> itemIdx, int valIdx);
    // A text entry this control asked for was confirmed. The default sets the bound parameter of
    // `valIdx` to the typed value (a display text or a decimal number); other text changes nothing.
    virtual void OnTextEntryCompletion(std::string_view text, int valIdx);

    // Value slots. Values are normalized 0-1: SetValue clamps, and ignores a value that is not a
    // finite number. An index outside the slots reads 0 and writes nothing.
    int NVals() const { return static_cast<int>(mVals.size()); }
    double GetValue(int valIdx = 0) const;
    void SetValue(double value, int valIdx = 0);
    // The editor changed the bound parameter: an unchanged value does nothing, otherwise the slot
    // takes it and the control redraws without running its action.
    virtual void SetValueFromDelegate(double value, int valIdx = 0);
    // The user chose a value: the slot takes it, then SetDirty(true, valIdx) sends it on.
    virtual void SetValueFromUserInput(double value, int valIdx = 0);
    int GetParamIdx(int valIdx = 0) const;
    void SetParamIdx(int paramIdx, int valIdx = 0);
    // The first slot bound to `paramIdx`, or kNoValIdx.
    int LinkedToParam(int paramIdx) const;
    // The parameter bound to `valIdx`, or nullptr (unbound, no context, an index the editor does
    // not have, or a parameter not set up).
    const IParam* GetParam(int valIdx = 0) const;

    // Marks the control for redrawing. With `triggerAction` it then sends the value of slot
    // `valIdx` (every slot for kNoValIdx) to the editor for each bound slot, and runs the action.
    virtual void SetDirty(bool triggerAction, int valIdx = kNoValIdx);
    bool IsDirty() const { return mDirty; }
    void ClearDirty() { mDirty = false; }

    void SetActionFunction(IActionFunction actionFunc) { mActionFunc = std::move(actionFunc); }
    const IActionFunction& GetActionFunction() const { return mActionFunc; }
    void SetAnimationEndActionFunction(IActionFunction actionFunc)
    {
        mAnimationEndActionFunc = std::move(actionFunc);
    }
    const IActionFunction& GetAnimationEndActionFunction() const { return mAnimationEndActionFunc; }

    // Starts `func` for `durationMs` (at least 1) ms, replacing a running animation. Time starts
    // at the next frame of the context, where progress is 0.
    void SetAnimation(IAnimationFunction func, int durationMs);
    bool HasAnimation() const { return static_cast<bool>(mAnimationFunc); }
    int GetAnimationDuration() const { return mAnimationDurationMs; }
    // (now - start) / duration; 0 without an animation or before its first frame.
    double GetAnimationProgress() const;
    // Drops the animation, redraws, then runs the end action once, if any.
    virtual void OnEndAnimation();

    // Hide and disable mark the control for redrawing without running the action, and pass the
    // same call on to the children.
    virtual void Hide(bool hide);
    bool IsHidden() const { return mHidden; }
    virtual void SetDisabled(bool disable);
    bool IsDisabled() const { return mDisabled; }
    void SetIgnoreMouse(bool ignore) { mIgnoreMouse = ignore; }
    bool GetIgnoreMouse() const { return mIgnoreMouse; }
    void SetMouseEventsWhenDisabled(bool allow) { mMouseEventsWhenDisabled = allow; }
    bool GetMouseEventsWhenDisabled() const { return mMouseEventsWhenDisabled; }
    void SetMouseOverWhenDisabled(bool allow) { mMouseOverWhenDisabled = allow; }
    bool GetMouseOverWhenDisabled() const { return mMouseOverWhenDisabled; }
    bool GetMouseIsOver() const { return mMouseIsOver; }
    // Weight 1, or kDisabledBlendWeight while disabled.
    const IBlend& GetBlend() const { return mBlend; }

    // The drawing rectangle and the rectangle the mouse hits (the same unless set apart).
    const IRECT& GetRECT() const { return mRECT; }
    // Everything the control draws: its rectangle widened by DrawOverhang() on every side, for the
    // parts that may reach out of it (glyphs of a text sized to the rectangle, emboss rims,
    // antialiased edges). The context clips the control's drawing to it and repaints it whole
    // when the control is marked for redrawing.
    IRECT GetDrawArea() const { return mRECT.GetPadded(DrawOverhang()); }
    // How far the control may draw outside its rectangle, in design pixels: kDrawOverhang unless
    // a control knows its drawing stays closer (a smaller area repaints faster when it changes).
    virtual float DrawOverhang() const { return kDrawOverhang; }
    const IRECT& GetTargetRECT() const { return mTargetRECT; }
    void SetRECT(const IRECT& bounds);
    void SetTargetRECT(const IRECT& bounds);
    void SetTargetAndDrawRECTs(const IRECT& bounds);

    int GetTag() const { return mTag; }
    const std::string& GetGroup() const { return mGroup; }
    // The context and its editor while attached, else nullptr.
    IGraphics* GetUI() const { return mGraphics; }
    IGEditorDelegate* GetDelegate() const;

    IControl* GetParent() const { return mParent; }
    const std::vector<IControl*>& GetChildren() const { return mChildren; }

protected:
    // Attaches `child` to this control's context (after every control attached so far, so on top
    // of this one), untagged and ungrouped, taking on this control's hidden and disabled state;
    // later Hide and SetDisabled calls pass on to it. Only while attached; returns nullptr
    // (and drops the child) otherwise.
    template <class T>
    T* AttachChild(std::unique_ptr<T> child)
    {
        static_assert(std::is_base_of_v<IControl, T>);
        T* raw = child.get();
        return AttachChildControl(std::unique_ptr<IControl>(std::move(child))) ? raw : nullptr;
    }

private:
    friend class IGraphics;

    struct ValueSlot
    {
        double value = 0.0;
        int paramIdx = kNoParameter;
    };

    // Called by the context.
    void OnAttach(IGraphics* graphics, int tag, std::string_view group);
    void StepAnimation(double nowMs);
    bool AttachChildControl(std::unique_ptr<IControl> child);

    IRECT mRECT;
    IRECT mTargetRECT;
    std::vector<ValueSlot> mVals;
    IActionFunction mActionFunc;
    IActionFunction mAnimationEndActionFunc;
    IAnimationFunction mAnimationFunc;
    double mAnimationStartMs = 0.0;
    bool mAnimationStartPending = false;
    int mAnimationDurationMs = 0;
    bool mHidden = false;
    bool mDisabled = false;
    bool mIgnoreMouse = false;
    bool mMouseIsOver = false;
    bool mMouseEventsWhenDisabled = false;
    bool mMouseOverWhenDisabled = false;
    bool mWantsMidi = false;
    bool mTakesFocus = false;
    bool mDirty = true;
    IBlend mBlend;
    int mTag = kNoTag;
    std::string mGroup;
    std::string mName;
    std::string mTooltip;
    std::string mDisabledReason;
    IGraphics* mGraphics = nullptr;
    IControl* mParent = nullptr;
    std::vector<IControl*> mChildren;
};
