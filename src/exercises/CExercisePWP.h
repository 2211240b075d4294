#pragma once
#include "exercises/CExercise.h"

// Exercise PWP, "Przysłowia - wpisywanie". So far a therapy shows its background
// colour and the hint button for a single task; its own tasks are still to be built.
class CExercisePWP : public CExercise
{
public:
    struct SPWPTask
    {
    };

    CExercisePWP(CDynamicPlace& placement, CSharedKomps& shared);
};
