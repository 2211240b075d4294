#include "exercises/CExerciseDC.h"

CExerciseDC::CExerciseDC(CDynamicPlace& placement, CSharedKomps& shared)
    : CExercise(placement, shared)
{
    HasHint = true;
}
