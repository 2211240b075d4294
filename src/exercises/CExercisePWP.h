#pragma once
#include "content/CRecProverb.h"
#include "exercises/CExercise.h"

#include <QChar>
#include <QString>
#include <cstdint>
#include <memory>

class CKompLabel;

// Exercise PWP, "Przysłowia - wpisywanie": the beginning of a proverb is shown
// and spoken half a second after an unsolved task appears; the patient types
// its ending letter by letter, the spaces coming by themselves. The hint line
// reveals the ending one word at a time.
class CExercisePWP : public CExercise
{
public:
    struct SPWPTask
    {
        CRecProverb Proverb; // its Pocz is shown, its Kon is typed
        QString Typed;       // the part of Kon accepted so far
        QString HintText;    // empty, or a prefix of Kon ending with a word
        bool Solved = false;
        bool HadError = false;
    };

    static constexpr int AnnounceDelayMs = 500;

    CExercisePWP(CDynamicPlace& placement, CSharedKomps& shared);
    ~CExercisePWP() override;

    bool SelectTask(int index) override;
    void ShowTask() override;
    void Activate() override;
    void Deactivate() override;
    void Hint() override;
    void Prepare(const CTherapySettings& settings) override;
    void ClearTasks() override;
    void ApplyColourMode() override;
    void DrawTask() override;

    void OnLetter(int index, QChar letter, uint8_t& state);

    MyArray<SPWPTask> Tasks;
    std::unique_ptr<CKompLabel> BeginLabel;
    std::unique_ptr<CKompLabel> HintLabel;
    std::unique_ptr<CKompLabel> InputLabel;

private:
    SPWPTask* CurrentTask();
    void HintStep(SPWPTask& task);
    void UpdateHintButton();
    void Announce();
    void Solve(SPWPTask& task);
};
