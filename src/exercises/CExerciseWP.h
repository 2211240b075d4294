#pragma once
#include "exercises/CExercise.h"

// Exercise WP, "Wpisywanie nazwy". So far a therapy shows its background
// colour and the hint button for a single task; its own tasks are still to be built.
class CExerciseWP : public CExercise
{
public:
    struct SWPTask
    {
    };

    CExerciseWP(CDynamicPlace& placement, CSharedKomps& shared);
};
