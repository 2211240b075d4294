#include "exercises/CExercisePNO.h"

CExercisePNO::CExercisePNO(CDynamicPlace& placement, CSharedKomps& shared)
    : CExercise(placement, shared)
{
    HasHint = false;
}
