#include "exercises/CExerciseWP.h"

CExerciseWP::CExerciseWP(CDynamicPlace& placement, CSharedKomps& shared)
    : CExercise(placement, shared)
{
    HasHint = true;
}
