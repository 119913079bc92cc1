#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// The texts of the three device status lines and the rules that decide whether the connected port
// is the box and whether its firmware version is one this editor can work with. Pure transforms.
// [any thread]

// The name every output port of the box begins with.
inline constexpr std::string_view kStompletPortPrefix = "Korvo-Audio ctrlWave Stomplet";
// Status line 1 once a Status Reply has arrived.
inline constexpr std::string_view kDeviceRepliedText = "DEVICE: Korvo-Audio ctrlWave Stomplet";
inline constexpr std::string_view kInterfaceModeText = "STATE: Interface Mode";
inline constexpr std::string_view kStandaloneModeText = "STATE: Standalone Mode";

// Accepted firmware version bytes (ten times the version): major numbers 1 to 10.
inline constexpr int kLowestVersionByte = 10;
inline constexpr int kHighestVersionByte = 109;

// The device text holds at most this many characters; a longer one is cut.
inline constexpr std::size_t kMaxDeviceTextLength = 255;

// True when the first 29 characters of `portName` are exactly "Korvo-Audio ctrlWave Stomplet"
// (case-sensitive); a shorter name is not the box.
bool IsStompletPortName(std::string_view portName);

// "DEVICE: <port name>", cut to kMaxDeviceTextLength characters.
std::string DeviceText(std::string_view portName);

// "VERSION: %.1f" with `versionByte` / 10 in single precision: 12 gives "VERSION: 1.2".
std::string VersionText(std::uint8_t versionByte);

enum class VersionVerdict
{
    kAccepted,
    kTooOld, // the box's firmware must be upgraded
    kTooNew, // this editor must be upgraded
};

// By the major number `versionByte` / 10: below 1 too old, above 10 too new.
VersionVerdict CheckFirmwareVersion(std::uint8_t versionByte);

// The message shown for a rejected version; empty for an accepted one.
std::string VersionMessage(VersionVerdict verdict);
