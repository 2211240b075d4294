#pragma once

// The braking interpolation of the tile flights: n values from just past the
// start to the end, each step shorter than the one before (a quadratic
// deceleration); after the n-th value it keeps giving the end.
class CHamowanie
{
public:
    float Target = 0.0f;
    float Step = 0.0f;
    int Steps = 0;
    int Remaining = 0;

    void Begin(float start, float end, int n);
    float NextValue();
    // A value as a pixel position: plus 0.5, truncated.
    static int Round(float value) { return static_cast<int>(value + 0.5f); }
};
