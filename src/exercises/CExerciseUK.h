#pragma once
#include "content/CRecWord.h"
#include "exercises/CExercise.h"
#include "graphics/MyArray.h"

#include <QPoint>
#include <memory>

class CKompPhoto;
class CKompTable;
class CTable;
class CTableBlock;
class CTableBox;

// Exercise UK, "Układanie nazwy": a photograph, a row of empty slots for the
// letters of its name, and the shuffled letter tiles (optionally with extra
// letters) that the patient drags into the slots.
class CExerciseUK : public CExercise
{
public:
    static constexpr int MaxTiles = 16;

    struct SUKTask
    {
        CRecWord* Word = nullptr;
        std::unique_ptr<CTable> Pool;
        std::unique_ptr<CTableBox> SlotBox;
        bool Solved = false;
        bool HadError = false;
    };

    CExerciseUK(CDynamicPlace& placement, CSharedKomps& shared);
    ~CExerciseUK() override;

    void ShowTask() override;
    void Activate() override;
    void Deactivate() override;
    void Hint() override;
    void Prepare(const CTherapySettings& settings) override;
    void ClearTasks() override;
    void ApplyColourMode() override;
    void DrawTask() override;

    // The letters of a word that get tiles, in order (a character outside the
    // alphabet has no tile and is left out).
    static QString TileLetters(const QString& word);
    // How many extra letters a word of n letters gets.
    static int ExtraLetters(int n);

    MyArray<SUKTask> Tasks;
    std::unique_ptr<CKompTable> Board;
    int SlotsY = 0;
    int PoolY = 0;
    int Margin = 0;

private:
    SUKTask* Current();
    void AddEntries();
    std::unique_ptr<CTableBlock> MakeTile(QChar letter) const;
    void BuildTask(SUKTask& task, CRecWord* word, bool extra, bool autoHint);
    void AttachCurrent();
    void UpdateHintButton();
    void OnDrop(CTableBox* box, bool correct);
    void OnPhotoMouseDown(Qt::MouseButton button);
};
