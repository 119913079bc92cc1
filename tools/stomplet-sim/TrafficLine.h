#pragma once

#include <chrono>
#include <cstdint>
#include <span>
#include <string>

// One line of stomplet-sim's traffic output: the time since start in milliseconds with three
// decimals, right-aligned in ten columns, the direction padded to three columns, then every byte
// as two upper-case hex digits separated by spaces. No newline. For example
//   "   123.456 in  F0 00 3F 5A 04 02 71 00 F7"
//   "   123.789 out B0 0B 40"
// A pure transform.

enum class TrafficDirection
{
    kIn,  // received on the input port
    kOut, // sent on the output port
};

// `sinceStart` below zero is printed as zero.
std::string FormatTrafficLine(std::chrono::microseconds sinceStart, TrafficDirection direction,
                              std::span<const std::uint8_t> bytes);
