#pragma once
#include "exercises/CExercise.h"

struct ExeSet;

// Common ground of the four repetition exercises (WYL, PP, PNO, PNC): paging by
// hand or by the therapy window's graph timer, the timer's picture, and the
// task's announcement a moment after it is shown. They answer nothing and leave
// their result record alone.
class CRepetitionExercise : public CExercise
{
public:
    // Paging interval in ms; 0 pages by hand.
    int PageInterval = 0;

protected:
    CRepetitionExercise(CDynamicPlace& placement, CSharedKomps& shared);

    // PageInterval from the exercise's settings block.
    void ReadPaging(const ExeSet& set);
    // Automatic paging runs while the exercise is shown, on from its last task
    // into the next exercise. Entered on its last task (coming back, or an
    // exercise of one task), it starts paused; a forward step resumes it.
    void StartPaging();
    void StopPaging();
    // The timer's picture, only while the timer runs.
    void DrawTimer();
};
