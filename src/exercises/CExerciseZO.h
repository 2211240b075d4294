#pragma once
#include "content/CRecWord.h"
#include "exercises/CTypingExercise.h"

#include <QChar>
#include <QString>
#include <cstdint>
#include <memory>

class CKompLabel;

// Exercise ZO, "Zadania opisowe": a riddle describing a thing, shown as text
// and spoken half a second after an unsolved task appears, with a placeholder
// in the photo frame; the patient types the thing's name on the alphabet or
// the keyboard. The finished name is spoken and the real photograph shown.
// The hint types the next letter, but never the last one.
class CExerciseZO : public CTypingExercise
{
public:
    struct SZOTask : STypingState
    {
        CRecWord Word; // its Opis is the riddle, its Nazwa is typed
    };

    CExerciseZO(CDynamicPlace& placement, CSharedKomps& shared);
    ~CExerciseZO() override;

    void ShowTask() override;
    void Activate() override;
    void Deactivate() override;
    void Hint() override;
    void Prepare(const CTherapySettings& settings) override;
    void ClearTasks() override;
    void OnLetter(int index, QChar letter, uint8_t& state) override;

    MyArray<SZOTask> Tasks;
    std::unique_ptr<CKompLabel> DescLabel;
    // The placeholder picture of an unsolved task.
    CDynamicPlace PicturePlaces;

protected:
    void SpeakAnswer(bool async) override;
    STypingState* CurrentState() override { return CurrentTask(); }
    void SpeakPrompt() override;
    void DrawPicture() override;

private:
    SZOTask* CurrentTask() { return CurrentIn(Tasks); }
    void UpdateHintButton();
    void Solve(SZOTask& task);
};
