#include "exercises/CExercisePNC.h"

CExercisePNC::CExercisePNC(CDynamicPlace& placement, CSharedKomps& shared)
    : CExercise(placement, shared)
{
    HasHint = false;
}
