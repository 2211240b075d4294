#include "exercises/CExercisePWP.h"

CExercisePWP::CExercisePWP(CDynamicPlace& placement, CSharedKomps& shared)
    : CExercise(placement, shared)
{
    HasHint = true;
}
