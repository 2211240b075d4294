#pragma once
#include "exercises/CExercise.h"

// Exercise PNC, "Powtarzanie nazw czynności". So far a therapy shows its background
// colour for a single task; its own tasks are still to be built.
class CExercisePNC : public CExercise
{
public:
    struct SPNCTask
    {
    };

    CExercisePNC(CDynamicPlace& placement, CSharedKomps& shared);
};
