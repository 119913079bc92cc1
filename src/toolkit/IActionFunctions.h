#pragma once

#include "toolkit/IControl.h"

// The toolkit's standard actions and animations.
//
// The splash pattern of the buttons: the click action is SplashClickActionFunc, which starts a
// 100 ms splash animation from the click point; when it ends the control's end-of-animation action
// runs (open a file prompt, close an overlay). A control that must act at once instead gets an
// action that calls SplashClickActionFunc itself and then does its work in the same call.
// [main thread]

inline constexpr int kSplashDurationMs = 100;

// Records the point of the last mouse down on the caller (when it draws a vector splash) and
// starts SplashAnimationFunc for kSplashDurationMs.
void SplashClickActionFunc(IControl* caller);

// Redraws the caller on every frame; ends the animation once its progress passes 1.
void SplashAnimationFunc(IControl* caller);

// Ends the animation once its progress passes 1 and does nothing else: for an end action that
// should follow a plain delay.
void DefaultAnimationFunc(IControl* caller);

// Runs the caller's end-of-animation action at once, without an animation.
void EmptyClickActionFunc(IControl* caller);
