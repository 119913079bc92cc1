#pragma once

#include "device/FirmwareTransfer.h"

#include <string>
#include <string_view>

class IGraphics;
struct SysExMessage;

// Shown when the transfer has sent every block; closing it closes the firmware overlays.
inline constexpr std::string_view kFirmwareFinishedText = "Firmware update finished.";
// Shown instead of starting a transfer that could reach nothing.
inline constexpr std::string_view kFirmwareNoOutputText =
    "No MIDI output port is open, so the firmware cannot reach the Stomplet.\n"
    "Choose its port in File > Preferences, then start the update again.";
// Shown when the output port changes or goes away while blocks are still to be sent.
inline constexpr std::string_view kFirmwareFailedText =
    "Firmware update failed: the MIDI output port changed or went away during the transfer.\n"
    "Run the update again to complete the Stomplet's firmware.";
// Asked before the application quits during a transfer.
inline constexpr std::string_view kFirmwareQuitQuestion =
    "A firmware update is running. Quitting now leaves the Stomplet with incomplete firmware.\n"
    "Quit anyway?";

// The editor's firmware update: takes the image file the firmware window's button chose, sends
// the Firmware Start and then, driven by the editor's 100 ms device timer, one block per tick
// while the progress display on the LCD counts up, and ends with the message box
// kFirmwareFinishedText whose dismissal closes the firmware overlays.
//
// It refuses, with a message and without sending anything, when no output port is open or the
// image is empty; a file that cannot be read or is 16384 bytes or more is passed over without a
// word. While a transfer runs a new load is ignored (the store and the count stay), and when the
// output port changes or goes away the transfer stops with kFirmwareFailedText. The editor holds
// back everything else it would send to the box until the transfer ends.
//
// Owned by the editor, which must outlive it. [main thread]
class FirmwareUpdate
{
public:
    // What a firmware update needs of the editor.
    class Editor
    {
    public:
        // The screen, or nullptr while there is none.
        virtual IGraphics* Screen() const = 0;
        // Sends a message of the transfer to the box at once.
        virtual void SendToBox(const SysExMessage& msg) = 0;
        // A transfer starts: from now on the editor holds back everything else it would send.
        virtual void OnFirmwareTransferStarted() = 0;
        // The transfer has stopped: the editor sends what it held back, or drops it when
        // `sendHeldBack` is false (the port changed under the transfer).
        virtual void OnFirmwareTransferEnded(bool sendHeldBack) = 0;

    protected:
        ~Editor() = default;
    };

    explicit FirmwareUpdate(Editor& editor) : mEditor(editor) {}

    // The firmware window's button chose `path` (empty: the prompt was cancelled).
    void Load(const std::string& path);
    // One tick of the editor's 100 ms device timer.
    void OnDeviceTick();
    // The output port now in use, "off" for none.
    void OnOutputPortSelected(std::string_view portName);

    // The start delay runs or blocks are being sent.
    bool Running() const { return mTransfer.Running(); }

private:
    // The transfer has stopped: the editor sends what it held back (or, with `sendHeldBack`
    // false, drops it), and `text` is shown in a box whose dismissal closes the firmware overlays.
    void End(std::string_view text, bool sendHeldBack);
    void ShowMessage(std::string_view text);

    Editor& mEditor;
    FirmwareTransfer mTransfer;
    std::string mOutputPort = "off";
    std::string mTransferPort; // the output port the running transfer started on
};
