#include "exercises/CExercisePP.h"

CExercisePP::CExercisePP(CDynamicPlace& placement, CSharedKomps& shared)
    : CExercise(placement, shared)
{
    HasHint = false;
}
