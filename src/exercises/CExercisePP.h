#pragma once
#include "exercises/CExercise.h"

// Exercise PP, "Powtarzanie przysłów". So far a therapy shows its background
// colour for a single task; its own tasks are still to be built.
class CExercisePP : public CExercise
{
public:
    struct SPNOTask
    {
    };

    CExercisePP(CDynamicPlace& placement, CSharedKomps& shared);
};
