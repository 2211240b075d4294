#pragma once
#include "exercises/CExercise.h"

// Exercise ZO, "Zadania opisowe". So far a therapy shows its background
// colour and the hint button for a single task; its own tasks are still to be built.
class CExerciseZO : public CExercise
{
public:
    struct SZOTask
    {
    };

    CExerciseZO(CDynamicPlace& placement, CSharedKomps& shared);
};
