#pragma once
#include "content/CRecProverb.h"
#include "exercises/CChoiceExercise.h"
#include "graphics/MyArray.h"

#include <memory>

class CKompLabel;

// Exercise PWY, "Przysłowia - wybieranie": the beginning of a proverb and a
// column of two to four endings to choose from. Wrong endings grey out, a
// hint greys out one more, and the right one moves up under the beginning.
class CExercisePWY : public CChoiceExercise
{
public:
    static constexpr int AnnounceMs = 500;

    struct SPWYTask : SChoiceState
    {
        CRecProverb* Proverb = nullptr;
        CRecProverb* Choices[MaxChoices] = {};
    };

    CExercisePWY(CDynamicPlace& placement, CSharedKomps& shared);
    ~CExercisePWY() override;

    void ShowTask() override;
    void Activate() override;
    void Deactivate() override;
    void Prepare(const CTherapySettings& settings) override;
    void ClearTasks() override;
    void ApplyColourMode() override;
    void DrawTask() override;

    MyArray<SPWYTask> Tasks;
    std::unique_ptr<CKompLabel> BeginLabel;

protected:
    SChoiceState* CurrentState() override { return Current(); }
    QString ChoiceText(int i) override;
    void PlayChoice(int i) override;
    void AnnounceTask() override;

private:
    SPWYTask* Current() { return CurrentIn(Tasks); }
    void AddEntries();
    void OnBeginMouseDown(Qt::MouseButton button);
};
