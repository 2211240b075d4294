#pragma once
#include "content/CRecWord.h"
#include "exercises/CExercise.h"

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
//
// The other typing exercises (ZO, PWP) build their labels and reach the
// shared controls through the helpers this class offers.
class CExerciseWP : public CExercise
{
public:
    struct SWPTask
    {
        CRecWord Word;    // its Nazwa is what is typed
        QString Typed;    // always a prefix of Nazwa
        QString HintText; // empty, or a prefix of Nazwa and " ." per letter not revealed
        bool Solved = false;
        bool HadError = false;
    };

    // The three placement entries of a static label: its place, its text
    // rectangle and its image with mask (1280 and 1024 layouts).
    struct SLabelPlace
    {
        int PlaceMode;
        int Left, Top, Size;
        int RectMode, RectFlags;
        int RectLeft, RectTop, RectRight, RectBottom;
        int Image1280, Mask1280, Image1024, Mask1024;
    };

    CExerciseWP(CDynamicPlace& placement, CSharedKomps& shared);
    ~CExerciseWP() override;

    void ShowTask() override;
    void Activate() override;
    void Deactivate() override;
    void Hint() override;
    void Prepare(const CTherapySettings& settings) override;
    void ClearTasks() override;
    void ApplyColourMode() override;
    void DrawTask() override;

    // The alphabet's listener while the exercise is active.
    void OnLetter(int index, QChar letter, uint8_t& state);

    MyArray<SWPTask> Tasks;
    std::unique_ptr<CKompLabel> InputLabel;
    std::unique_ptr<CKompLabel> HintLabel;

    // Helpers of the typing exercises.
    static void AddLabelPlace(CDynamicPlace& places, const SLabelPlace& entry);
    // A label on the exercise bitmap, placed from the current entry of
    // `places` (which moves past the label's entries) and hidden.
    static std::unique_ptr<CKompLabel> MakeLabel(CSharedKomps& shared, CDynamicPlace& places);
    static void ShowText(CKompLabel& label, const QString& text);
    static void EnableHintButton(CSharedKomps& shared, bool enabled);

private:
    SWPTask* CurrentTask();
    // One hint step: one more letter revealed; false when all were.
    bool HintStep(SWPTask& task);
    void Solve(SWPTask& task);
};
