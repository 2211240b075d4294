#pragma once
#include "content/CWords.h"
#include "exercises/CExercise.h"
#include "graphics/CSharedKomps.h"
#include "graphics/MyArray.h"
#include "patients/CTherapySettings.h"

#include <QRandomGenerator>
#include <QString>
#include <memory>

class CKompLabel;

// Common ground of the exercises that offer a column of two to four items to
// choose from (PWY, DC): a wrong choice greys out, a hint greys out one more
// wrong one, and the right one is left alone, moved up, and its recording is
// played. The exercise gives the items' texts and recordings, announces its
// tasks and shows what it has besides the column.
class CChoiceExercise : public CExercise
{
public:
    static constexpr int MaxChoices = 4;

    // The answering state of a task. The task records add their own item and
    // `Choices`, the candidates in screen order; the candidate at `Correct` is
    // the task's own item.
    struct SChoiceState
    {
        int Correct = 0;
        bool Wrong[MaxChoices] = {};
        bool Shown[MaxChoices] = {};
        bool Solved = false;
        bool HadError = false;
    };

    bool SelectTask(int index) override;
    void ShowTask() override;
    void Activate() override;
    void Deactivate() override;
    void Hint() override;
    void ApplyColourMode() override;
    void DrawTask() override;

    std::unique_ptr<CKompLabel> ChoiceLabels[MaxChoices];
    int ChoiceCount = 2;
    int NormalY = 0;
    int SolvedY = 0;

protected:
    CChoiceExercise(CDynamicPlace& placement, CSharedKomps& shared);
    ~CChoiceExercise() override;

    // The functions of the content database for one kind of item.
    template <class TItem> struct SItemKind
    {
        SelectFn<TItem> Select;
        DrawFn<TItem> Draw;
        void (*ClearMarks)(const MyArray<TItem*>& list, uint32_t bits);
    };

    // The entries of the column (1280 x 960 layout): four clickable labels,
    // tops at firstTop + step * i, then the points of the first label's top
    // while the task is open (firstTop) and once it is solved (solvedTop).
    static void AddColumnEntries(CDynamicPlace& places, int firstTop, int step, int solvedTop);
    // Makes the column's labels from the current entry of Places on (as
    // AddColumnEntries added them) and reads NormalY and SolvedY; Places then
    // stands after the column.
    void MakeColumn();

    // The tasks of a therapy from the exercise's settings block: ChoiceCount
    // from Flags bits 12 and 13, the task items drawn once from the categories
    // in Flags & groupMask, and ChoiceCount - 1 distractors each, avoiding the
    // task's own item. A pool too small for distinct distractors leaves
    // positions empty (neither shown nor offered), or with repeatDistractors
    // fills them with repeated ones.
    template <class TTask, class TItem>
    void MakeTasks(MyArray<TTask>& tasks, TItem* TTask::*item, const ExeSet& set, int groupMask,
                   const SItemKind<TItem>& kind, bool repeatDistractors);

    // What the exercise gives: the current task (null when none), the text of
    // candidate i of the current task, its recording (played without
    // waiting; nothing for an empty position), and the announcement of the
    // task shown.
    virtual SChoiceState* CurrentState() = 0;
    virtual QString ChoiceText(int i) = 0;
    virtual void PlayChoice(int i) = 0;
    virtual void AnnounceTask() = 0;

private:
    // Marks on the content items while the tasks are drawn.
    static constexpr uint32_t MarkTask = 1;
    static constexpr uint32_t MarkOwn = 2;
    static constexpr uint32_t MarkDistractor = 4;

    void ReadChoiceCount(const ExeSet& set);
    // After the tasks are made: TaskCount, the unused labels hidden, PomocMax.
    void FinishTasks(int count);
    void OnChoiceClick(int i);
    void OnChoiceMouseDown(int i, Qt::MouseButton button);
    void RuleOut(SChoiceState& task, int i);
    void Solve(SChoiceState& task);
    // Only the right candidate, in the first label at SolvedY.
    void ShowSolved(SChoiceState& task);
    void UpdateHintButton();
    // The position a hint rules out (-1 when none is left), and whether one is.
    int HintPosition(const SChoiceState& task) const;
    bool CanRuleOut(const SChoiceState& task) const;
    static void SetChoiceLook(CKompLabel& label, bool wrong);
    // Puts `item` at a random one of the first `count` positions, whose
    // candidate moves to position 0; returns the position.
    template <class TItem> static int PlaceCorrect(TItem** choices, TItem* item, int count);

    int m_columnPlace = 0;
};

template <class TItem> int CChoiceExercise::PlaceCorrect(TItem** choices, TItem* item, int count)
{
    const int correct = QRandomGenerator::global()->bounded(count);
    choices[0] = choices[correct];
    choices[correct] = item;
    return correct;
}

template <class TTask, class TItem>
void CChoiceExercise::MakeTasks(MyArray<TTask>& tasks, TItem* TTask::*item, const ExeSet& set,
                                int groupMask, const SItemKind<TItem>& kind, bool repeatDistractors)
{
    ReadChoiceCount(set);
    tasks.Clear();
    TaskIndex = 0;
    TaskCount = 1;
    CWords* words = Shared->Words;
    MyArray<TItem*> pool, drawn, distractors;
    if (words) {
        (words->*kind.Select)(set.Flags & groupMask, pool);
        (words->*kind.Draw)(drawn, set.LZ, MarkTask, MarkTask, pool);
        kind.ClearMarks(pool, MarkOwn);
    }
    // Only what the draw gave becomes a task.
    for (int t = 0; t < drawn.Count(); ++t) {
        TItem* own = drawn[t];
        TTask task;
        task.*item = own;
        own->Mark(MarkOwn);
        const int n = ChoiceCount - 1;
        if (!(words->*kind.Draw)(distractors, n, MarkDistractor, MarkOwn | MarkDistractor, pool) &&
            repeatDistractors)
            (words->*kind.Draw)(distractors, n, 0, MarkOwn, pool);
        own->Unmark(MarkOwn);
        for (int i = 1; i < ChoiceCount && i - 1 < distractors.Count(); ++i)
            task.Choices[i] = distractors[i - 1];
        task.Correct = PlaceCorrect(task.Choices, own, ChoiceCount);
        for (int i = 0; i < ChoiceCount; ++i) {
            task.Shown[i] = task.Choices[i] != nullptr;
            task.Wrong[i] = !task.Shown[i];
        }
        tasks.Add(task);
    }
    FinishTasks(tasks.Count());
}
