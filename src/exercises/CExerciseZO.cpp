#include "exercises/CExerciseZO.h"

CExerciseZO::CExerciseZO(CDynamicPlace& placement, CSharedKomps& shared)
    : CExercise(placement, shared)
{
    HasHint = true;
}
