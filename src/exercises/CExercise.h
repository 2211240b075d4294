#pragma once
#include "content/CWords.h"
#include "graphics/CDynamicPlace.h"
#include "graphics/CSharedKomps.h"
#include "graphics/MyArray.h"
#include "patients/CTherapySettings.h"

#include <QImage>
#include <cstdint>
#include <functional>

class CStatEx;
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
    // Whether SelectTask(index) would show another task.
    bool IsNewTask(int index) const
    {
        return index != TaskIndex && index >= 0 && index < TaskCount;
    }

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
    // The content database's functions for one kind of item.
    template <class TItem> using SelectFn = void (CWords::*)(int groups, MyArray<TItem*>& pool);
    template <class TItem>
    using DrawFn = bool (CWords::*)(MyArray<TItem*>& out, int n, uint32_t markBits,
                                    uint32_t avoidBits, const MyArray<TItem*>& pool);

    // The items of a therapy's tasks: LZ items of the categories in
    // Flags & groupMask, the ones not used as task items yet first (mark bit
    // 1) and, once the pool is used up, any of it again. None without a
    // content database.
    template <class TItem>
    MyArray<TItem*> DrawTaskItems(const ExeSet& set, int groupMask, SelectFn<TItem> select,
                                  DrawFn<TItem> draw) const
    {
        MyArray<TItem*> pool, drawn;
        if (CWords* words = Shared->Words) {
            (words->*select)(set.Flags & groupMask, pool);
            if (!(words->*draw)(drawn, set.LZ, 1, 1, pool))
                (words->*draw)(drawn, set.LZ, 0, 0, pool);
        }
        return drawn;
    }
    // The current task of `tasks`; null when there is none (before the first
    // Prepare, or when nothing could be drawn).
    template <class TTask> TTask* CurrentIn(MyArray<TTask>& tasks) const
    {
        return TaskIndex >= 0 && TaskIndex < tasks.Count() ? &tasks[TaskIndex] : nullptr;
    }
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
    // `announce` runs once, `delayMs` after the last call, if the exercise is
    // still the active one then (the delayed call is shared by all exercises).
    void Announce(int delayMs, std::function<void()> announce);

private:
    // Puts Bitmap up on the screen: at once, or at the next paint.
    void ShowBitmap(bool now);
};
