#pragma once
#include "content/CRecWord.h"
#include "exercises/CTypingExercise.h"

#include <QChar>
#include <QString>
#include <cstdint>
#include <memory>

class CKompLabel;

// Exercise WP, "Wpisywanie nazwy": a photograph with an input line under it;
// the patient types the picture's name letter by letter on the on-screen
// alphabet or the keyboard. Only the right next letter is taken; a wrong one
// is dimmed on the alphabet until the next right one. The hint line above the
// input reveals one more letter of the name at a time, the rest as dots.
class CExerciseWP : public CTypingExercise
{
public:
    struct SWPTask : STypingState
    {
        CRecWord Word;    // its Nazwa is what is typed
        QString HintText; // empty, or a prefix of Nazwa and " ." per letter not revealed
    };

    CExerciseWP(CDynamicPlace& placement, CSharedKomps& shared);
    ~CExerciseWP() override;

    void ShowTask() override;
    void Activate() override;
    void Deactivate() override;
    void Hint() override;
    void Prepare(const CTherapySettings& settings) override;
    void ClearTasks() override;
    void OnLetter(int index, QChar letter, uint8_t& state) override;

    MyArray<SWPTask> Tasks;
    std::unique_ptr<CKompLabel> HintLabel;

protected:
    STypingState* CurrentState() override { return CurrentTask(); }
    void SpeakAnswer(bool async) override;
    void DrawPicture() override;

private:
    SWPTask* CurrentTask() { return CurrentIn(Tasks); }
    // One hint step: one more letter revealed; false when all were.
    bool HintStep(SWPTask& task);
    void Solve(SWPTask& task);
};
