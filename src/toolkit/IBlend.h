#pragma once

// How a drawing call mixes with what lies below: `mWeight` is an opacity 0-1 applied on top of the
// colours' own alpha. Controls draw with weight 1, disabled controls with 0.25.
struct IBlend
{
    float mWeight = 1.f;

    bool operator==(const IBlend&) const = default;
};
