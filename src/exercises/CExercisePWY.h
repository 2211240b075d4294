#pragma once
#include "exercises/CExercise.h"

// Exercise PWY, "Przysłowia - wybieranie". So far a therapy shows its background
// colour and the hint button for a single task; its own tasks are still to be built.
class CExercisePWY : public CExercise
{
public:
    struct SPWYTask
    {
    };

    CExercisePWY(CDynamicPlace& placement, CSharedKomps& shared);
};
