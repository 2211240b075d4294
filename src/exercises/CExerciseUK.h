#pragma once
#include "exercises/CExercise.h"

// Exercise UK, "Układanie nazwy". So far a therapy shows its background
// colour and the hint button for a single task; its own tasks are still to be built.
class CExerciseUK : public CExercise
{
public:
    struct SUKTask
    {
    };

    CExerciseUK(CDynamicPlace& placement, CSharedKomps& shared);
};
