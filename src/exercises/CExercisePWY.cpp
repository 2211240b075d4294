#include "exercises/CExercisePWY.h"

CExercisePWY::CExercisePWY(CDynamicPlace& placement, CSharedKomps& shared)
    : CExercise(placement, shared)
{
    HasHint = true;
}
