#pragma once
#include "exercises/CExercise.h"

// Exercise DC, "Dopasowanie czynności". So far a therapy shows its background
// colour and the hint button for a single task; its own tasks are still to be built.
class CExerciseDC : public CExercise
{
public:
    struct SDCTask
    {
    };

    CExerciseDC(CDynamicPlace& placement, CSharedKomps& shared);
};
