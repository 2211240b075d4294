#pragma once
#include "content/CRecProverb.h"
#include "exercises/CExercise.h"
#include "graphics/MyArray.h"

#include <QPoint>
#include <QRandomGenerator>
#include <memory>

class CKompLabel;

// Exercise PWY, "Przysłowia - wybieranie": the beginning of a proverb and a
// column of two to four endings to choose from. Wrong endings grey out, a
// hint greys out one more, and the right one moves up under the beginning.
class CExercisePWY : public CExercise
{
public:
    static constexpr int MaxChoices = 4;
    static constexpr int AnnounceMs = 500;

    struct SPWYTask
    {
        CRecProverb* Proverb = nullptr;
        CRecProverb* Choices[MaxChoices] = {};
        int Correct = 0;
        bool Wrong[MaxChoices] = {};
        bool Shown[MaxChoices] = {};
        bool Solved = false;
        bool HadError = false;
    };

    CExercisePWY(CDynamicPlace& placement, CSharedKomps& shared);
    ~CExercisePWY() override;

    bool SelectTask(int index) override;
    void ShowTask() override;
    void Activate() override;
    void Deactivate() override;
    void Hint() override;
    void Prepare(const CTherapySettings& settings) override;
    void ClearTasks() override;
    void ApplyColourMode() override;
    void DrawTask() override;

    MyArray<SPWYTask> Tasks;
    std::unique_ptr<CKompLabel> BeginLabel;
    std::unique_ptr<CKompLabel> ChoiceLabels[MaxChoices];
    int ChoiceCount = 2;
    int SolvedY = 0;
    int NormalY = 0;

    // The choosing column shared with DC: the position a hint rules out
    // (-1 when none is left), whether one is left, and the looks of a label.
    static int HintPosition(const bool* wrong, int correct, int count);
    static bool CanRuleOut(const bool* wrong, int correct, int count);
    static void SetChoiceLook(CKompLabel& label, bool wrong);
    // Where the correct item goes among `count` candidates whose positions 1
    // on hold the distractors: a random position, whose candidate moves to 0.
    template <class T> static int PlaceCorrect(T** choices, T* item, int count);
    // The entries of a column of clickable labels (1280 x 960 layout), tops at
    // firstTop + step * i.
    static void AddColumnEntries(CDynamicPlace& places, int firstTop, int step);

private:
    SPWYTask* Current();
    void AddEntries();
    void Announce();
    void UpdateHintButton();
    void OnChoiceClick(int i);
    void OnChoiceMouseDown(int i, Qt::MouseButton button);
    void OnBeginMouseDown(Qt::MouseButton button);
    void RuleOut(SPWYTask& task, int i);
    void Solve(SPWYTask& task);
    void ShowSolved(const SPWYTask& task);
    static QString EndingText(const CRecProverb* p);
};

template <class T> int CExercisePWY::PlaceCorrect(T** choices, T* item, int count)
{
    const int correct = QRandomGenerator::global()->bounded(count);
    choices[0] = choices[correct];
    choices[correct] = item;
    return correct;
}
