#pragma once
#include "content/CRecWord.h"
#include "exercises/CExercise.h"

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
class CExerciseZO : public CExercise
{
public:
    struct SZOTask
    {
        CRecWord Word; // its Opis is the riddle, its Nazwa is typed
        QString Typed; // always a prefix of Nazwa
        bool Solved = false;
        bool HadError = false;
    };

    // Spoken after an unsolved task is shown (ms).
    static constexpr int AnnounceDelayMs = 500;

    CExerciseZO(CDynamicPlace& placement, CSharedKomps& shared);
    ~CExerciseZO() override;

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

    MyArray<SZOTask> Tasks;
    std::unique_ptr<CKompLabel> DescLabel;
    std::unique_ptr<CKompLabel> InputLabel;
    // The placeholder picture of an unsolved task.
    CDynamicPlace PicturePlaces;

private:
    SZOTask* CurrentTask();
    void UpdateHintButton();
    void Announce();
    void Solve(SZOTask& task);
};
