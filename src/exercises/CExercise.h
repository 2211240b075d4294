#pragma once
#include "graphics/CDynamicPlace.h"

#include <QImage>
#include <cstdint>

class CSharedKomps;
class CStatEx;
class CTherapySettings;
class QWidget;

// The base of the eleven exercises: the task cycle (count, current index,
// stepping, activation, painting) and the exercise's background colour. Each
// exercise generates its tasks from the content at Prepare, shows one at a
// time by drawing into the shared exercise bitmap, and counts its results in
// its StatEx record.
class CExercise
{
public:
    // Exercise indices, the position of an exercise in every per-exercise table.
    enum EIndex
    {
        WY,
        UK,
        WP,
        ZO,
        PWP,
        PWY,
        DC,
        WYL,
        PP,
        PNO,
        PNC,
        Count
    };
    // The background of every exercise in the grey colour mode.
    static constexpr uint32_t MonoBackColor = 0x303030;
    // The quiet pause after a correct answer's word, before the praise (ms).
    // Tests shorten it.
    static int PraisePauseMs;

    // `placement`'s current entry is this exercise's colour; it is copied and
    // the cursor moves on, so the exercises built in index order each take
    // their own.
    CExercise(CDynamicPlace& placement, CSharedKomps& shared);
    CExercise(const CExercise&) = delete;
    CExercise& operator=(const CExercise&) = delete;

    virtual bool SelectTask(int index);
    virtual void ShowTask() {}
    virtual ~CExercise();
    virtual void Activate();
    virtual void Deactivate();
    virtual void Hint() {}
    virtual void Prepare(const CTherapySettings& settings);
    virtual void ClearTasks() {}
    virtual void ApplyColourMode();
    virtual void DrawTask();
    virtual void Paint();

    bool IsLastTask() const { return TaskIndex == TaskCount - 1; }

    int TaskCount = 1;
    int TaskIndex = 0;
    uint32_t BackColor = 0;
    QImage* Bitmap = nullptr;
    QWidget* PaintBox = nullptr;
    CDynamicPlace Places;
    int FirstPlace = 2;
    bool Active = false;
    CSharedKomps* Shared = nullptr;
    CStatEx* StatEx = nullptr;
    bool HasHint = false;

protected:
    // Result recording shared by the scored exercises.
    void StartTiming();
    void StopTiming();
    // A task became solved: Rozw up to LZ, Blad when it had an error.
    void CountSolved(bool hadError);
    // One hint step, up to PomocMax.
    void CountHint();
    // PomocMax from the largest possible number of hint steps (999 for none).
    void SetPomocMax(int steps);
    // Shows what Bitmap holds now, without waiting for the event loop (used
    // before the handlers that block the thread).
    void ShowNow();
    // The blocking pause after a solved task's word.
    static void PraisePause();
};
