#pragma once
#include "content/CRecProverb.h"
#include "exercises/CRepetitionExercise.h"
#include "graphics/MyArray.h"

#include <memory>

class CKompLabel;

// Exercise PP, "Powtarzanie przysłów": a proverb in two labels; half a second
// after the task is shown its beginning is spoken with that label lit, then
// its ending likewise, and the patient repeats. A page turn cuts the
// recitation short. Paged by hand or by the graph timer.
class CExercisePP : public CRepetitionExercise
{
public:
    // One proverb of the material (named like PNO's task record).
    struct SPNOTask
    {
        CRecProverb* Proverb = nullptr;
    };
    static constexpr int AnnounceDelayMs = 500;
    static constexpr int HalvesPauseMs = 100;
    // Label looks: the lit one is the highlighted look.
    static constexpr uint8_t Normal = 0;
    static constexpr uint8_t Lit = 2;

    CExercisePP(CDynamicPlace& placement, CSharedKomps& shared);
    ~CExercisePP() override;

    bool SelectTask(int index) override;
    void Activate() override;
    void Deactivate() override;
    void Prepare(const CTherapySettings& settings) override;
    void ClearTasks() override;
    void ApplyColourMode() override;
    void DrawTask() override;

    MyArray<SPNOTask> Tasks;
    std::unique_ptr<CKompLabel> BeginLabel;
    std::unique_ptr<CKompLabel> EndLabel;

    CRecProverb* CurrentProverb() const;

private:
    void Recite();
    void SetLooks(uint8_t begin, uint8_t end);
    void LoadLabelImages();
};
