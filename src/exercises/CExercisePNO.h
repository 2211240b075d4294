#pragma once
#include "content/CRecWord.h"
#include "exercises/CRepetitionExercise.h"
#include "graphics/MyArray.h"

#include <memory>

class CKompLabel;

// Exercise PNO, "Powtarzanie nazw obrazków": a photograph with its name under
// it; half a second after the task is shown the name is spoken and the
// patient repeats it. Paged by hand or by the graph timer.
class CExercisePNO : public CRepetitionExercise
{
public:
    // One word of the material (the records never move while the program runs).
    struct SPNOTask
    {
        CRecWord* Word = nullptr;
    };
    static constexpr int AnnounceDelayMs = 500;

    CExercisePNO(CDynamicPlace& placement, CSharedKomps& shared);
    ~CExercisePNO() override;

    bool SelectTask(int index) override;
    void Activate() override;
    void Deactivate() override;
    void Prepare(const CTherapySettings& settings) override;
    void ClearTasks() override;
    void ApplyColourMode() override;
    void DrawTask() override;

    MyArray<SPNOTask> Tasks;
    std::unique_ptr<CKompLabel> NameLabel;

    // The word of the task shown; null when the pool gave none.
    CRecWord* CurrentWord() const;

private:
    void AnnounceTask();
    void PlayCurrentWord();
};
