#include "exercises/CRepetitionExercise.h"

#include "graphics/CGraphTimer.h"
#include "graphics/CSharedKomps.h"
#include "patients/CTherapySettings.h"

CRepetitionExercise::CRepetitionExercise(CDynamicPlace& placement, CSharedKomps& shared)
    : CExercise(placement, shared)
{
    HasHint = false;
}

void CRepetitionExercise::ReadPaging(const ExeSet& set)
{
    PageInterval = (set.Flags & CTherapySettings::ManualPagingBit) ? 0 : set.AutoTime * 1000;
}

void CRepetitionExercise::StartPaging()
{
    CGraphTimer* timer = Shared->GraphTimer;
    if (!timer)
        return;
    if (PageInterval > 0)
        timer->Start(PageInterval);
    if (IsLastTask())
        timer->Pause();
}

void CRepetitionExercise::StopPaging()
{
    if (Shared->GraphTimer)
        Shared->GraphTimer->Stop();
}

void CRepetitionExercise::DrawTimer()
{
    if (Shared->GraphTimer && Bitmap && !Bitmap->isNull())
        Shared->GraphTimer->Draw(*Bitmap, *Bitmap);
}
