#pragma once

#include "core/MidiRecords.h"

// What the application object needs of its view: the controls bound to parameters and the
// controls that take MIDI. The toolkit's graphics context implements it; tests use a fake.
// [main thread]
class IEditorView
{
public:
    virtual ~IEditorView() = default;

    // Gives `normalized` to every value slot bound to parameter `paramIdx`, in the view's control
    // order. A control the mouse is holding ignores it; an unchanged value changes nothing;
    // otherwise the control takes the value and redraws without calling back.
    virtual void SetParamFromDelegate(int paramIdx, double normalized) = 0;

    // Offers `msg` to every control that takes MIDI, in the view's control order.
    virtual void SendMidiToControls(const MidiMessage& msg) = 0;
};
