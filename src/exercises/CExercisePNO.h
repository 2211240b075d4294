#pragma once
#include "exercises/CExercise.h"

// Exercise PNO, "Powtarzanie nazw obrazków". So far a therapy shows its background
// colour for a single task; its own tasks are still to be built.
class CExercisePNO : public CExercise
{
public:
    struct SPNOTask
    {
    };

    CExercisePNO(CDynamicPlace& placement, CSharedKomps& shared);
};
