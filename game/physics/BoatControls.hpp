#pragma once

// What drives the boat for one frame, whoever fills it: the keyboard, the
// gamepad or the autopilot.
struct BoatControls
{
    // -1 (full right) to 1 (full left), a share of the boat's steering amount.
    float steering = 0.0f;
    // -1 (full astern) to 1 (full ahead), a share of the boat's engine force.
    float engine = 0.0f;
    bool slide = false;
    // Put the boat back, at rest, on the checkpoint passed last: the race's
    // part, since the boat does not know where that is.
    bool reset = false;

    bool operator==(const BoatControls&) const = default;
};
