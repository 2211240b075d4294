#include "exercises/CExerciseWP.h"

#include "app/DisplayMode.h"
#include "app/Universalfn.h"
#include "content/CWords.h"
#include "content/ContentSound.h"
#include "controls/CKompAlphabet.h"
#include "controls/CKompLabel.h"
#include "controls/CKompPhoto.h"
#include "graphics/CSharedKomps.h"
#include "graphics/CTransButton.h"
#include "patients/CTherapySettings.h"

#include <algorithm>

namespace {

const QString HintDot = QStringLiteral(" .");

} // namespace

CExerciseWP::CExerciseWP(CDynamicPlace& placement, CSharedKomps& shared)
    : CExercise(placement, shared)
{
    HasHint = true;
    AddLabelPlace(Places, {DM_1024, 312, 491, 46, DM_1024, 0, 18, 7, 0, 51, 206, 207, 204, 205});
    AddLabelPlace(Places, {DM_1024, 312, 420, 46, DM_1024, 0, 18, 7, 0, 51, 217, 207, 216, 205});
    Places.Set_iCurrent(FirstPlace);
    InputLabel = MakeLabel(shared, Places);
    HintLabel = MakeLabel(shared, Places);
    InputLabel->OnMouseDown = [this](CKompLabel*, Qt::MouseButton button, QPoint) {
        const SWPTask* task = CurrentTask();
        if (button == Qt::RightButton && task && task->Solved)
            PlayWordSound(task->Word, true);
    };
}

CExerciseWP::~CExerciseWP()
{
    InputLabel.reset();
    HintLabel.reset();
    ClearTasks();
}

void CExerciseWP::AddLabelPlace(CDynamicPlace& places, const SLabelPlace& e)
{
    places.Add(PT_PLACE, 0);
    places.SetPlace(e.PlaceMode, e.Left, e.Top, 0, 0, e.Size);
    places.Add(PT_RECT, e.RectFlags);
    places.SetRect(e.RectMode, e.RectLeft, e.RectTop, e.RectRight, e.RectBottom, -1);
    places.Add(PT_BITMAP | PT_TRANSBITMAP, 0);
    places.SetBitmap(DM_1280, e.Image1280, -1, e.Mask1280);
    places.SetBitmap(DM_1024, e.Image1024, -1, e.Mask1024);
}

std::unique_ptr<CKompLabel> CExerciseWP::MakeLabel(CSharedKomps& shared, CDynamicPlace& places)
{
    auto label = std::make_unique<CKompLabel>(shared.OwnerForm, shared.ExerciseBitmap,
                                              shared.ExerciseBitmap);
    const QWidget* area = shared.ExerciseArea;
    label->Place(places, area ? area->x() : 0, area ? area->y() : 0);
    label->hide();
    return label;
}

void CExerciseWP::ShowText(CKompLabel& label, const QString& text)
{
    label.Text = text;
    label.AlignText();
}

void CExerciseWP::EnableHintButton(CSharedKomps& shared, bool enabled)
{
    if (shared.HintButton)
        shared.HintButton->SetEnabled(enabled, true);
}

CExerciseWP::SWPTask* CExerciseWP::CurrentTask()
{
    return TaskIndex < Tasks.Count() ? &Tasks[TaskIndex] : nullptr;
}

void CExerciseWP::Prepare(const CTherapySettings& settings)
{
    const ExeSet& set = settings.Get_ExeSet(WP);
    ClearTasks();
    TaskIndex = 0;
    WordPool pool;
    WordPool drawn;
    if (Shared->Words) {
        Shared->Words->SelectWords(set.Flags & 0xFFF, pool);
        if (!Shared->Words->DrawWords(drawn, set.LZ, 1, 1, pool))
            Shared->Words->DrawWords(drawn, set.LZ, 0, 0, pool);
    }
    int letters = 0;
    Tasks.Reserve(drawn.Count());
    for (const CRecWord* word : drawn) {
        Tasks.Add(SWPTask{*word, {}, {}, false, false});
        letters += static_cast<int>(word->Nazwa.size());
    }
    // An empty pool leaves one empty task: nothing to type, nothing to count.
    TaskCount = std::max(1, Tasks.Count());
    SetPomocMax(letters);
    if (set.Flags & CTherapySettings::AutoHintBit)
        for (SWPTask& task : Tasks)
            HintStep(task);
}

void CExerciseWP::ClearTasks()
{
    Tasks.Clear();
}

bool CExerciseWP::HintStep(SWPTask& task)
{
    const QString& name = task.Word.Nazwa;
    const qsizetype dots = task.HintText.indexOf(HintDot);
    const QString revealed = dots < 0 ? task.HintText : task.HintText.left(dots);
    if (revealed == name || task.Solved)
        return false;
    const qsizetype k = std::max(revealed.size(), task.Typed.size());
    task.HintText = name.left(k + 1) + RepeatText(HintDot, static_cast<int>(name.size() - k - 1));
    CountHint();
    return true;
}

void CExerciseWP::ShowTask()
{
    CKompAlphabet* alphabet = Shared->KompAlphabet;
    SWPTask* task = CurrentTask();
    ShowText(*InputLabel, task ? task->Typed : QString());
    if (!task || task->Solved) {
        InputLabel->Cursor = false;
        HintLabel->hide();
        if (alphabet)
            alphabet->hide();
        EnableHintButton(*Shared, false);
        StopTiming();
        return;
    }
    InputLabel->Cursor = true;
    ShowText(*HintLabel, task->HintText);
    HintLabel->setVisible(!task->HintText.isEmpty());
    if (alphabet) {
        alphabet->SetAllStates(CKompAlphabet::StateNormal);
        alphabet->show();
    }
    EnableHintButton(*Shared, task->HintText != task->Word.Nazwa);
    StartTiming();
}

void CExerciseWP::OnLetter(int, QChar letter, uint8_t& state)
{
    SWPTask* task = CurrentTask();
    if (!task || task->Typed.size() >= task->Word.Nazwa.size())
        return;
    CKompAlphabet* alphabet = Shared->KompAlphabet;
    if (letter != task->Word.Nazwa[task->Typed.size()]) {
        state = CKompAlphabet::StateRuledOut;
        PlayErrorSound(true);
        task->HadError = true;
        return;
    }
    task->Typed += letter;
    ShowText(*InputLabel, task->Typed);
    state = CKompAlphabet::StateNormal;
    if (alphabet)
        alphabet->SetAllStates(CKompAlphabet::StateNormal);
    if (task->Typed.size() < task->Word.Nazwa.size()) {
        InputLabel->Repaint();
        if (alphabet)
            alphabet->Repaint();
        return;
    }
    Solve(*task);
}

void CExerciseWP::Solve(SWPTask& task)
{
    HintLabel->hide();
    InputLabel->Cursor = false;
    InputLabel->Repaint();
    if (Shared->KompAlphabet)
        Shared->KompAlphabet->hide();
    task.Solved = true;
    EnableHintButton(*Shared, false);
    // Counted at once: the word and the praise that follow are not working
    // time, and the patient may move on while the word is spoken.
    StopTiming();
    CountSolved(task.HadError);
    DrawTask();
    ShowNow();
    const CRecWord word = task.Word;
    PlayWordSound(word, false);
    PraisePause();
    PlayPraise(true);
}

void CExerciseWP::Hint()
{
    SWPTask* task = CurrentTask();
    if (!task || task->Solved || task->HintText == task->Word.Nazwa)
        return;
    HintStep(*task);
    ShowText(*HintLabel, task->HintText);
    if (HintLabel->isHidden())
        HintLabel->show();
    HintLabel->Repaint();
    if (task->HintText == task->Word.Nazwa)
        EnableHintButton(*Shared, false);
}

void CExerciseWP::DrawTask()
{
    CExercise::DrawTask();
    InputLabel->Draw();
    HintLabel->Draw();
    const SWPTask* task = CurrentTask();
    if (CKompPhoto* photo = Shared->Photo) {
        photo->SetPhoto(task ? task->Word.BCIndex : -1);
        photo->Draw();
    }
    if (Shared->KompAlphabet)
        Shared->KompAlphabet->Draw();
}

void CExerciseWP::Activate()
{
    Active = true;
    if (CKompPhoto* photo = Shared->Photo) {
        photo->Recompose = true;
        photo->show();
        photo->OnMouseDown = [this](CKompPhoto*, Qt::MouseButton button, QPoint) {
            if (const SWPTask* task = CurrentTask(); task && button == Qt::RightButton)
                PlayWordSound(task->Word, true);
        };
    }
    InputLabel->show();
    if (CKompAlphabet* alphabet = Shared->KompAlphabet)
        alphabet->OnLetter = [this](int index, QChar letter, uint8_t& state) {
            OnLetter(index, letter, state);
        };
    ShowTask();
    DrawTask();
}

void CExerciseWP::Deactivate()
{
    Active = false;
    StopTiming();
    if (CKompPhoto* photo = Shared->Photo) {
        photo->hide();
        photo->OnMouseDown = nullptr;
    }
    if (CKompAlphabet* alphabet = Shared->KompAlphabet) {
        alphabet->hide();
        alphabet->OnLetter = nullptr;
    }
    InputLabel->hide();
    HintLabel->hide();
}

void CExerciseWP::ApplyColourMode()
{
    CExercise::ApplyColourMode();
    // The label skins change with the colour mode as the background does.
    Places.Set_iCurrent(FirstPlace);
    InputLabel->LoadImages(Places);
    HintLabel->LoadImages(Places);
}
