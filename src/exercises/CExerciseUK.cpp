#include "exercises/CExerciseUK.h"
#include "app/DisplayMode.h"

#include "app/Cursors.h"
#include "content/CWords.h"
#include "content/ContentSound.h"
#include "controls/CKompPhoto.h"
#include "controls/CKompTable.h"
#include "controls/CTable.h"
#include "controls/CTableBlock.h"
#include "controls/CTableBox.h"
#include "graphics/CSharedKomps.h"
#include "graphics/CTransButton.h"
#include "patients/CTherapySettings.h"
#include "statistics/CStatEx.h"

#include <QRandomGenerator>
#include <QWidget>
#include <algorithm>
#include <utility>

CExerciseUK::CExerciseUK(CDynamicPlace& placement, CSharedKomps& shared)
    : CExercise(placement, shared)
{
    HasHint = true;
    AddEntries();
    const int offX = PaintBox ? PaintBox->x() : 0;
    const int offY = PaintBox ? PaintBox->y() : 0;
    Board = std::make_unique<CKompTable>(Shared->OwnerForm, Bitmap, Bitmap);
    Places.Set_iCurrent(FirstPlace);
    Board->Place(Places, offX, offY);
    Board->BackColor = BackColor;
    Margin = Places.Get_CLeft();
    SlotsY = Places.Get_CTop();
    PoolY = Places.Get_CBottom();
    Board->DragCursor = Cursors::Get(Cursors::crHand1);
    Board->OnDrop = [this](CTableBox* box, bool correct) { OnDrop(box, correct); };
    Board->hide();
}

CExerciseUK::~CExerciseUK()
{
    if (Board) {
        Board->SetTable(nullptr);
        Board->SetBox(nullptr);
    }
    ClearTasks();
}

void CExerciseUK::AddEntries()
{
    Places.Set_iCurrent(1);
    const SDynaPlace colour = Places.CurrentDP();
    Places.Add(PT_PLACE, 0);
    Places.SetPlace(DM_1280, 0, 520, 1280, 346, -1);
    // The board's ground is the exercise's own colour.
    Places.Add(PT_COLOR, 0);
    Places.Set_CurrentDP(colour);
    const std::pair<uint32_t, uint32_t> frames[3] = {
        {0x800000, 0x808080}, // an empty slot: RGB(0,0,128)
        {0x00ff00, 0xffffff}, // the expected letter
        {0x0000ff, 0x000000}, // another letter: RGB(255,0,0)
    };
    for (const auto& [c, mono] : frames) {
        Places.Add(PT_COLOR, 0);
        Places.SetColor(DM_1280, static_cast<int>(c), static_cast<int>(mono));
    }
    Places.Add(PT_RECT, 0);
    Places.SetRect(DM_1280, 40, 20, 0, 240, -1);
}

CExerciseUK::SUKTask* CExerciseUK::Current()
{
    if (TaskIndex < 0 || TaskIndex >= Tasks.Count())
        return nullptr;
    return &Tasks[TaskIndex];
}

QString CExerciseUK::TileLetters(const QString& word)
{
    QString letters;
    for (const QChar c : word)
        if (CSharedKomps::LetterIndex(c) >= 0)
            letters.append(c);
    return letters;
}

int CExerciseUK::ExtraLetters(int n)
{
    int e = (n + 1) / 2;
    if (e + n > MaxTiles)
        e = MaxTiles - n;
    return e > 0 ? e : 0;
}

std::unique_ptr<CTableBlock> CExerciseUK::MakeTile(QChar letter) const
{
    const int i = CSharedKomps::LetterIndex(letter);
    const QImage* image = nullptr;
    if (i >= 0 && i < Shared->Letters.Count())
        image = Shared->Letters[i].Bitmap.get();
    return std::make_unique<CTableBlock>(image);
}

void CExerciseUK::BuildTask(SUKTask& task, CRecWord* word, bool extra, bool autoHint)
{
    task.Word = word;
    task.Pool = std::make_unique<CTable>();
    task.SlotBox = std::make_unique<CTableBox>();
    task.SlotBox->LockCorrect = true;
    task.SlotBox->Colours = Board->FrameColours;
    task.Pool->Width = Board->width();
    task.Pool->Height = Board->height();
    QString letters = TileLetters(word->Slowo);
    const int n = static_cast<int>(letters.size());
    for (const QChar c : std::as_const(letters))
        task.SlotBox->AddSlot(MakeTile(c));
    if (extra)
        letters += CSharedKomps::RandomLetters(ExtraLetters(n));
    for (qsizetype i = 0; i + 1 < letters.size(); ++i)
        std::swap(letters[i], letters[QRandomGenerator::global()->bounded(i, letters.size())]);
    for (const QChar c : std::as_const(letters))
        task.Pool->Add(MakeTile(c).release());
    task.SlotBox->LayOutSlots(0, Board->width(), true, 4, SlotsY);
    if (autoHint) {
        // About half the letters, never the whole word (a one-letter word
        // gets none): the word is completed by the patient's drop.
        const int h = std::max(0, std::min((n + 1) / 2, n - 1));
        task.SlotBox->AutoFill(*task.Pool, h, true);
        if (StatEx && StatEx->Pomoc + h <= StatEx->PomocMax)
            StatEx->Pomoc += h;
    }
    task.Pool->LayOutRow(Margin, Board->width() - Margin, true, Margin, PoolY);
}

void CExerciseUK::Prepare(const CTherapySettings& settings)
{
    const ExeSet& set = settings.Get_ExeSet(CTherapySettings::UK);
    Board->SetTable(nullptr);
    Board->SetBox(nullptr);
    ClearTasks();
    TaskIndex = 0;
    TaskCount = 1;
    const WordPool drawn = DrawTaskItems(set, 0xFFF, &CWords::SelectWords, &CWords::DrawWords);
    const bool autoHint = (set.Flags >> 12) & 1;
    const bool extra = (set.Flags >> 13) & 1;
    int letterTotal = 0;
    for (int t = 0; t < drawn.Count(); ++t) {
        SUKTask task;
        BuildTask(task, drawn[t], extra, autoHint);
        letterTotal += std::max(0, task.SlotBox->Slots.Count() - 1);
        Tasks.Add(std::move(task));
    }
    if (Tasks.Count() > 0)
        TaskCount = Tasks.Count();
    SetPomocMax(letterTotal);
}

void CExerciseUK::ClearTasks()
{
    if (Board) {
        Board->SetTable(nullptr);
        Board->SetBox(nullptr);
    }
    Tasks.Clear();
}

void CExerciseUK::AttachCurrent()
{
    SUKTask* task = Current();
    Board->SetTable(task ? task->Pool.get() : nullptr);
    Board->SetBox(task ? task->SlotBox.get() : nullptr);
}

void CExerciseUK::ShowTask()
{
    AttachCurrent();
    UpdateHintButton();
    const SUKTask* task = Current();
    if (task && task->Solved)
        StopTiming();
    else
        StartTiming();
}

void CExerciseUK::UpdateHintButton()
{
    if (!Shared->HintButton)
        return;
    const SUKTask* task = Current();
    bool enabled = task && !task->Solved;
    if (enabled) {
        const CTableBox& box = *task->SlotBox;
        // A hint never completes the word: the last letter is the patient's.
        enabled = !(box.CountEmpty() <= 1 && box.AllCorrect());
    }
    Shared->HintButton->SetEnabled(enabled, true);
}

void CExerciseUK::OnDrop(CTableBox*, bool correct)
{
    SUKTask* task = Current();
    if (!task)
        return;
    CTableBox& box = *task->SlotBox;
    if (!correct) {
        task->HadError = true;
        PlayErrorSound(true);
        if (box.AllFilled())
            Board->ReturnWrong(false);
    } else if (box.AllFilled() && box.AllCorrect() && !task->Solved) {
        box.Locked = true;
        // Counted before the waits, so that a task change meanwhile keeps
        // the other task's timing.
        task->Solved = true;
        StopTiming();
        CountSolved(task->HadError);
        PlayWordSound(*task->Word, true);
        WaitSoundEnd();
        if (!task->Pool->Blocks.Empty()) {
            task->Pool->Clear();
            Board->Repaint();
        }
        PraisePause();
        PlayPraise(true);
    }
    UpdateHintButton();
}

void CExerciseUK::Hint()
{
    SUKTask* task = Current();
    if (!task || task->SlotBox->Locked)
        return;
    CTableBox& box = *task->SlotBox;
    Board->ReturnWrong(false);
    // The last letter is the patient's: a full word with one wrong tile only
    // gets that tile sent home, so that the word is completed by a drop,
    // which solves it.
    if (box.CountEmpty() > 1) {
        const bool allEmpty = box.CountEmpty() == box.Slots.Count();
        Board->AutoPlace(1, !allEmpty, false);
    }
    UpdateHintButton();
    CountHint();
}

void CExerciseUK::OnPhotoMouseDown(Qt::MouseButton button)
{
    const SUKTask* task = Current();
    if (button == Qt::RightButton && task)
        PlayWordSound(*task->Word, true);
}

void CExerciseUK::Activate()
{
    Active = true;
    if (CKompPhoto* photo = Shared->Photo) {
        photo->Recompose = true;
        photo->show();
        photo->OnMouseDown = [this](CKompPhoto*, Qt::MouseButton b, QPoint) {
            OnPhotoMouseDown(b);
        };
    }
    AttachCurrent();
    Board->show();
    ShowTask();
    DrawTask();
}

void CExerciseUK::Deactivate()
{
    Active = false;
    StopTiming();
    if (CKompPhoto* photo = Shared->Photo) {
        photo->hide();
        photo->OnMouseDown = nullptr;
    }
    Board->hide();
}

void CExerciseUK::DrawTask()
{
    CExercise::DrawTask();
    Board->Draw();
    const SUKTask* task = Current();
    if (CKompPhoto* photo = Shared->Photo; photo && task) {
        photo->SetPhoto(task->Word->BCIndex);
        photo->Draw();
    }
}

void CExerciseUK::ApplyColourMode()
{
    CExercise::ApplyColourMode();
    Places.Set_iCurrent(FirstPlace);
    Board->LoadColours(Places);
    Board->BackColor = BackColor;
}
