#pragma once
#include "content/CRecAction.h"
#include "exercises/CExercise.h"
#include "graphics/MyArray.h"

#include <memory>

class CKompLabel;
class CTransButton;

// Exercise DC, "Dopasowanie czynności": the film of an activity on the video
// panel and a column of two to four captions to choose from, as in PWY; a
// replay button plays the film again.
class CExerciseDC : public CExercise
{
public:
    static constexpr int MaxChoices = 4;
    static constexpr int AnnounceMs = 600;

    struct SDCTask
    {
        CRecAction* Action = nullptr;
        CRecAction* Choices[MaxChoices] = {};
        int Correct = 0;
        bool Wrong[MaxChoices] = {};
        bool Shown[MaxChoices] = {};
        bool Solved = false;
        bool HadError = false;
    };

    CExerciseDC(CDynamicPlace& placement, CSharedKomps& shared);
    ~CExerciseDC() override;

    bool SelectTask(int index) override;
    void ShowTask() override;
    void Activate() override;
    void Deactivate() override;
    void Hint() override;
    void Prepare(const CTherapySettings& settings) override;
    void ClearTasks() override;
    void ApplyColourMode() override;
    void DrawTask() override;

    // The caption of an activity for the naming setting, and its recording.
    QString Caption(const CRecAction& action) const;
    void PlayCaption(const CRecAction& action, bool async) const;

    MyArray<SDCTask> Tasks;
    std::unique_ptr<CKompLabel> ChoiceLabels[MaxChoices];
    std::unique_ptr<CTransButton> ReplayButton;
    int ChoiceCount = 2;
    bool CoRobi = false;
    int NormalY = 0;
    int SolvedY = 0;
    int ButtonPlace = 0;

private:
    SDCTask* Current();
    void AddEntries();
    void PlaceButton();
    void Announce();
    void Replay();
    void UpdateHintButton();
    void OnChoiceClick(int i);
    void OnChoiceMouseDown(int i, Qt::MouseButton button);
    void RuleOut(SDCTask& task, int i);
    void Solve(SDCTask& task);
    void ShowSolved(const SDCTask& task);
};
