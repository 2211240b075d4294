#pragma once
#include "content/CRecProverb.h"
#include "exercises/CTypingExercise.h"

#include <QChar>
#include <QString>
#include <cstdint>
#include <memory>

class CKompLabel;

// Exercise PWP, "Przysłowia - wpisywanie": the beginning of a proverb is shown
// and spoken half a second after an unsolved task appears; the patient types
// its ending letter by letter, the spaces coming by themselves. The hint line
// reveals the ending one word at a time.
class CExercisePWP : public CTypingExercise
{
public:
    struct SPWPTask : STypingState
    {
        CRecProverb Proverb; // its Pocz is shown, its Kon is typed
        QString HintText;    // empty, or a prefix of Kon ending with a word
    };

    CExercisePWP(CDynamicPlace& placement, CSharedKomps& shared);
    ~CExercisePWP() override;

    void ShowTask() override;
    void Activate() override;
    void Hint() override;
    void Prepare(const CTherapySettings& settings) override;
    void ClearTasks() override;
    void OnLetter(int index, QChar letter, uint8_t& state) override;

    MyArray<SPWPTask> Tasks;
    std::unique_ptr<CKompLabel> BeginLabel;
    std::unique_ptr<CKompLabel> HintLabel;

protected:
    void SpeakAnswer(bool async) override;
    STypingState* CurrentState() override { return CurrentTask(); }
    void SpeakPrompt() override;

private:
    SPWPTask* CurrentTask() { return CurrentIn(Tasks); }
    void HintStep(SPWPTask& task);
    void UpdateHintButton();
    void Solve(SPWPTask& task);
};
