#pragma once
#include "content/CRecAction.h"
#include "exercises/CRepetitionExercise.h"
#include "exercises/CReplayButton.h"
#include "graphics/MyArray.h"

#include <memory>

class CKompLabel;

// Exercise PNC, "Powtarzanie nazw czynności": an activity's film on the video
// panel with its caption under it; 0.6 s after the task is shown the caption
// is spoken, then the film plays, and the patient repeats the caption. A
// button plays both again. Paged by hand or by the graph timer.
class CExercisePNC : public CRepetitionExercise
{
public:
    struct SPNCTask
    {
        CRecAction* Action = nullptr;
    };
    static constexpr int AnnounceDelayMs = 600;

    CExercisePNC(CDynamicPlace& placement, CSharedKomps& shared);
    ~CExercisePNC() override;

    bool SelectTask(int index) override;
    void Activate() override;
    void Deactivate() override;
    void Prepare(const CTherapySettings& settings) override;
    void ClearTasks() override;
    void ApplyColourMode() override;
    void DrawTask() override;

    MyArray<SPNCTask> Tasks;
    std::unique_ptr<CKompLabel> CaptionLabel;
    std::unique_ptr<CReplayButton> ReplayButton;
    bool CoRobi = false;
    int ButtonPlace = 0;

    CRecAction* CurrentAction() const;
    // The caption shown for an activity in the current therapy's form.
    QString Caption(const CRecAction& action) const;
    // Plays the caption and then the film from its start.
    void Replay();

private:
    void PlayCaption(const CRecAction& action, bool async) const;
    void AnnounceTask();
    void ShowFilm();
    // Speaks the caption, then starts the film open now, unless the task
    // changed or the exercise was left meanwhile.
    void CaptionThenFilm(CRecAction* action);
};
