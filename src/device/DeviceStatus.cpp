#include "device/DeviceStatus.h"

#include "device/FormatText.h"

bool IsStompletPortName(std::string_view portName)
{
    return portName.size() >= kStompletPortPrefix.size() &&
           portName.substr(0, kStompletPortPrefix.size()) == kStompletPortPrefix;
}

std::string DeviceText(std::string_view portName)
{
    std::string text = "DEVICE: ";
    text.append(portName);
    return CutText(std::move(text), kMaxDeviceTextLength);
}

std::string VersionText(std::uint8_t versionByte)
{
    const float version = static_cast<float>(versionByte) / 10.0f;
    return FormatText("VERSION: %.1f", static_cast<double>(version));
}

VersionVerdict CheckFirmwareVersion(std::uint8_t versionByte)
{
    const int major = versionByte / 10;
    if (major < kLowestVersionByte / 10)
        return VersionVerdict::kTooOld;
    if (major > kHighestVersionByte / 10)
        return VersionVerdict::kTooNew;
    return VersionVerdict::kAccepted;
}

std::string VersionMessage(VersionVerdict verdict)
{
    switch (verdict)
    {
    case VersionVerdict::kTooOld:
        return FormatText("Please upgrade Stomplet to actual version %d.", kLowestVersionByte);
    case VersionVerdict::kTooNew:
        return "Editor version out of date. Please download the most recent version.";
    case VersionVerdict::kAccepted:
        break;
    }
    return {};
}
