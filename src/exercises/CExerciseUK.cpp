#include "exercises/CExerciseUK.h"

CExerciseUK::CExerciseUK(CDynamicPlace& placement, CSharedKomps& shared)
    : CExercise(placement, shared)
{
    HasHint = true;
}
