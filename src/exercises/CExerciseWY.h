#pragma once
#include "content/CWords.h"
#include "exercises/CExercise.h"

#include <array>
#include <memory>

class CKompLabel;

// Exercise WY, "Wybieranie nazwy": a photograph and two to four written names
// under it; the patient clicks the name of the picture. Wrong names are greyed
// as they are clicked, a hint greys one more, and the right one hides the
// choices, shows the name under the photo and speaks it.
class CExerciseWY : public CExercise
{
public:
    static constexpr int MaxChoices = 4;

    struct SWYTask
    {
        CRecWord* Word = nullptr;
        std::array<CRecWord*, MaxChoices> Choices{};
        int Correct = 0;
        std::array<bool, MaxChoices> Wrong{};
        std::array<bool, MaxChoices> Shown{};
        bool Solved = false;
        bool HadError = false;
    };

    // A uniform random integer from 0 to m - 1; tests make it repeatable.
    using RandomSource = std::function<int(int m)>;

    CExerciseWY(CDynamicPlace& placement, CSharedKomps& shared);
    ~CExerciseWY() override;

    void ShowTask() override;
    void Activate() override;
    void Deactivate() override;
    void Hint() override;
    void Prepare(const CTherapySettings& settings) override;
    void ClearTasks() override;
    void ApplyColourMode() override;
    void DrawTask() override;

    // A click on choice label i.
    void ChoiceClicked(int i);

    MyArray<SWYTask> Tasks;
    int ChoiceCount = 2;
    std::array<std::unique_ptr<CKompLabel>, MaxChoices> ChoiceLabels;
    std::unique_ptr<CKompLabel> NameLabel;
    int LeftX = 0;
    int RightX = 0;
    int Row1Y = 0;
    int Row2Y = 0;
    RandomSource Random;

private:
    void BuildPlaces();
    void PlaceChoices();
    void RuleOut(int i);
    void Solve();
    void UpdateHintButton();
    void HookPhoto(bool active);
    SWYTask* CurrentTask();
};
