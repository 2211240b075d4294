#include "exercises/CExerciseWYL.h"

CExerciseWYL::CExerciseWYL(CDynamicPlace& placement, CSharedKomps& shared)
    : CExercise(placement, shared)
{
    HasHint = false;
}
