#include "TrafficLine.h"

#include <cstdio>

std::string FormatTrafficLine(std::chrono::microseconds sinceStart, TrafficDirection direction,
                              std::span<const std::uint8_t> bytes)
{
    const long long micros = sinceStart.count() < 0 ? 0 : sinceStart.count();
    char stamp[40];
    std::snprintf(stamp, sizeof stamp, "%6lld.%03lld %-3s", micros / 1000, micros % 1000,
                  direction == TrafficDirection::kIn ? "in" : "out");

    std::string line(stamp);
    line.reserve(line.size() + 3 * bytes.size());
    static constexpr char kHex[] = "0123456789ABCDEF";
    for (const std::uint8_t byte : bytes)
    {
        line += ' ';
        line += kHex[byte >> 4];
        line += kHex[byte & 0x0F];
    }
    return line;
}
