#pragma once

#include <string>

// What the screen's controls ask of the editor: the narrow seam between the screen, which is
// built here, and the editor's behaviour above it. The editor implements it; the controls' actions
// keep a reference, so the implementation must outlive the controls. Every member is called on
// the main thread.
class EditorCommands
{
public:
    // The AUDITION toggle: the box's MIDI is passed on to the output port while on.
    virtual void SetAudition(bool on) = 0;
    // RESET ALL, once the user has confirmed it.
    virtual void OnResetAll() = 0;
    // A calibration button; `address` is the calibration end's setting index.
    virtual void OnCalibrate(int address) = 0;
    // The path chosen in the LOAD, SAVE and firmware file prompts; empty when cancelled.
    virtual void LoadPreset(const std::string& path) = 0;
    virtual void SavePreset(const std::string& path) = 0;
    virtual void LoadFirmware(const std::string& path) = 0;
    // What status line 1 shows when the screen is built.
    virtual const std::string& GetDeviceText() const = 0;
    // The last step of building the screen.
    virtual void OnLayoutComplete() = 0;

protected:
    ~EditorCommands() = default;
};
