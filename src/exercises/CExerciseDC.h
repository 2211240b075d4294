#pragma once
#include "content/CRecAction.h"
#include "exercises/CChoiceExercise.h"
#include "exercises/CReplayButton.h"
#include "graphics/MyArray.h"

#include <memory>

// Exercise DC, "Dopasowanie czynności": the film of an activity on the video
// panel and a column of two to four captions to choose from, as in PWY; a
// replay button plays the film again.
class CExerciseDC : public CChoiceExercise
{
public:
    static constexpr int AnnounceMs = 600;

    struct SDCTask : SChoiceState
    {
        CRecAction* Action = nullptr;
        CRecAction* Choices[MaxChoices] = {};
    };

    CExerciseDC(CDynamicPlace& placement, CSharedKomps& shared);
    ~CExerciseDC() override;

    void Activate() override;
    void Deactivate() override;
    void Prepare(const CTherapySettings& settings) override;
    void ClearTasks() override;
    void ApplyColourMode() override;
    void DrawTask() override;

    // The caption of an activity for the naming setting, and its recording.
    QString Caption(const CRecAction& action) const;
    void PlayCaption(const CRecAction& action, bool async) const;

    MyArray<SDCTask> Tasks;
    std::unique_ptr<CReplayButton> ReplayButton;
    bool CoRobi = false;
    int ButtonPlace = 0;

protected:
    SChoiceState* CurrentState() override { return Current(); }
    QString ChoiceText(int i) override;
    void PlayChoice(int i) override;
    void AnnounceTask() override;

private:
    SDCTask* Current() { return CurrentIn(Tasks); }
    void Replay();
};
