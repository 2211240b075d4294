#include "controls/CHamowanie.h"

void CHamowanie::Begin(float start, float end, int n)
{
    if (n <= 0)
        n = 1;
    Steps = n;
    Remaining = n;
    Step = (end - start) / static_cast<float>(n * n);
    Target = end;
}

float CHamowanie::NextValue()
{
    if (Remaining <= 1)
        return Target;
    Remaining -= 1;
    return Target - static_cast<float>(Remaining) * Step * static_cast<float>(Remaining);
}
