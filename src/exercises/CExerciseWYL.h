#pragma once
#include "exercises/CExercise.h"

// Exercise WYL, "Zautomatyzowane ciągi słowne". So far a therapy shows its background
// colour for a single task; its own tasks are still to be built.
class CExerciseWYL : public CExercise
{
public:
    struct SWYLTask
    {
    };

    CExerciseWYL(CDynamicPlace& placement, CSharedKomps& shared);
};
