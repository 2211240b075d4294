#include "exercises/CExerciseWY.h"

#include "app/DisplayMode.h"
#include "content/ContentSound.h"
#include "controls/CKompLabel.h"
#include "controls/CKompPhoto.h"
#include "graphics/CSharedKomps.h"
#include "graphics/CTransButton.h"
#include "patients/CTherapySettings.h"
#include "statistics/CStatEx.h"

#include <QRandomGenerator>
#include <QWidget>

namespace {
constexpr int Trans = PT_BITMAP | PT_TRANSBITMAP;
constexpr uint32_t MarkTask = 1;
constexpr uint32_t MarkOwn = 2;
constexpr uint32_t MarkDistractor = 4;
} // namespace

CExerciseWY::CExerciseWY(CDynamicPlace& placement, CSharedKomps& shared)
    : CExercise(placement, shared),
      Random([](int m) { return static_cast<int>(QRandomGenerator::global()->bounded(m)); })
{
    HasHint = true;
    BuildPlaces();
    QWidget* owner = shared.OwnerForm;
    const int ox = PaintBox ? PaintBox->x() : 0;
    const int oy = PaintBox ? PaintBox->y() : 0;
    Places.Set_iCurrent(FirstPlace);
    for (int i = 0; i < MaxChoices; ++i) {
        auto label = std::make_unique<CKompLabel>(owner, Bitmap, Bitmap);
        label->Place(Places, ox, oy);
        label->OnClick = [this, i](CKompLabel*) { ChoiceClicked(i); };
        label->OnMouseDown = [this, i](CKompLabel*, Qt::MouseButton button, QPoint) {
            SWYTask* task = CurrentTask();
            if (button == Qt::RightButton && task && task->Choices[static_cast<size_t>(i)])
                PlayWordSound(*task->Choices[static_cast<size_t>(i)], true);
        };
        ChoiceLabels[static_cast<size_t>(i)] = std::move(label);
    }
    LeftX = Places.Get_CX();
    Row1Y = Places.Get_CY();
    Places.Next();
    Row2Y = Places.Get_CY();
    Places.Next();
    RightX = (PaintBox ? PaintBox->width() : 0) - ChoiceLabels[0]->width() - LeftX;
    NameLabel = std::make_unique<CKompLabel>(owner, Bitmap, Bitmap);
    NameLabel->Place(Places, ox, oy);
    NameLabel->OnMouseDown = [this](CKompLabel*, Qt::MouseButton button, QPoint) {
        SWYTask* task = CurrentTask();
        if (button == Qt::RightButton && task && task->Word)
            PlayWordSound(*task->Word, true);
    };
}

CExerciseWY::~CExerciseWY()
{
    for (auto& label : ChoiceLabels)
        label.reset();
    Tasks.Clear();
}

void CExerciseWY::BuildPlaces()
{
    for (int i = 0; i < MaxChoices; ++i) {
        Places.Add(PT_PLACE, 2);
        Places.SetPlace(DM_1280, 0, 0, 0, 0, 62);
        Places.Add(PT_RECT, 1);
        Places.SetRect(DM_1280, 18, 18, 0, 80, -1);
        Places.Add(Trans, 0); // normal
        Places.SetBitmap(DM_1280, 214, -1, 215);
        Places.SetBitmap(DM_1024, 210, -1, 211);
        Places.Add(Trans, 0); // highlighted
        Places.SetBitmap(DM_1280, 213, -1, -1);
        Places.SetBitmap(DM_1024, 209, -1, -1);
        Places.Add(Trans, 0); // pressed
        Places.SetBitmap(DM_1280, 212, -1, -1);
        Places.SetBitmap(DM_1024, 208, -1, -1);
    }
    Places.Add(PT_POINT, 0);
    Places.SetPoint(DM_1280, 64, 593, -1);
    Places.Add(PT_POINT, 0);
    Places.SetPoint(DM_1280, 0, 735, -1);
    Places.Add(PT_PLACE, 0);
    Places.SetPlace(DM_1024, 312, 430, 0, 0, 46);
    Places.Add(PT_RECT, 1);
    Places.SetRect(DM_1024, 18, 7, 0, 51, -1);
    Places.Add(Trans, 0);
    Places.SetBitmap(DM_1280, 206, -1, 207);
    Places.SetBitmap(DM_1024, 204, -1, 205);
}

CExerciseWY::SWYTask* CExerciseWY::CurrentTask()
{
    if (TaskIndex < 0 || TaskIndex >= Tasks.Count())
        return nullptr;
    return &Tasks[TaskIndex];
}

void CExerciseWY::Prepare(const CTherapySettings& settings)
{
    const ExeSet& set = settings.Get_ExeSet(CTherapySettings::WY);
    TaskCount = std::max(1, set.LZ);
    TaskIndex = 0;
    ChoiceCount = std::min(MaxChoices, 2 + ((set.Flags >> 12) & 3));
    Tasks.Clear();
    Tasks.Reserve(TaskCount);
    for (int i = 0; i < TaskCount; ++i)
        Tasks.Add(SWYTask{});

    CWords* words = Shared->Words;
    WordPool pool;
    WordPool drawn;
    if (words) {
        words->SelectWords(set.Flags & 0xFFF, pool);
        words->DrawWords(drawn, TaskCount, MarkTask, MarkTask, pool);
        CWords::ClearWordMarks(pool, MarkOwn);
    }
    for (int t = 0; t < TaskCount; ++t) {
        SWYTask& task = Tasks[t];
        task.Word = t < drawn.Count() ? drawn[t] : nullptr;
        WordPool distractors;
        if (task.Word && words) {
            task.Word->Mark(MarkOwn);
            words->DrawWords(distractors, ChoiceCount - 1, MarkDistractor, MarkOwn | MarkDistractor,
                             pool);
            task.Word->Unmark(MarkOwn);
        }
        // A pool too small for all the distractors offers only what was drawn.
        const int offered = task.Word ? 1 + std::min(distractors.Count(), ChoiceCount - 1) : 0;
        for (int i = 1; i < offered; ++i)
            task.Choices[static_cast<size_t>(i)] = distractors[i - 1];
        task.Correct = offered > 0 ? Random(offered) : 0;
        task.Choices[0] = task.Choices[static_cast<size_t>(task.Correct)];
        task.Choices[static_cast<size_t>(task.Correct)] = task.Word;
        for (int i = 0; i < MaxChoices; ++i) {
            const bool used = i < offered;
            task.Wrong[static_cast<size_t>(i)] = !used;
            task.Shown[static_cast<size_t>(i)] = used;
        }
    }
    PlaceChoices();
    SetPomocMax((ChoiceCount - 1) * TaskCount);
}

void CExerciseWY::PlaceChoices()
{
    for (int i = ChoiceCount; i < MaxChoices; ++i)
        ChoiceLabels[static_cast<size_t>(i)]->hide();
    ChoiceLabels[0]->MoveTo(LeftX, Row1Y);
    ChoiceLabels[1]->MoveTo(RightX, Row1Y);
    const int width = PaintBox ? PaintBox->width() : 0;
    if (ChoiceCount == 3) {
        ChoiceLabels[2]->MoveTo(width / 2 - ChoiceLabels[2]->width() / 2, Row2Y);
    } else if (ChoiceCount == 4) {
        ChoiceLabels[2]->MoveTo(LeftX, Row2Y);
        ChoiceLabels[3]->MoveTo(RightX, Row2Y);
    }
}

void CExerciseWY::ShowTask()
{
    SWYTask* task = CurrentTask();
    if (!task)
        return;
    NameLabel->Text = task->Word ? task->Word->Nazwa : QString();
    NameLabel->AlignText();
    if (task->Solved) {
        task->Shown.fill(false);
        for (auto& label : ChoiceLabels)
            label->hide();
        NameLabel->show();
        StopTiming();
    } else {
        for (int i = 0; i < ChoiceCount; ++i) {
            CKompLabel& label = *ChoiceLabels[static_cast<size_t>(i)];
            const bool wrong = task->Wrong[static_cast<size_t>(i)];
            label.SetRuledOut(wrong);
            CRecWord* word = task->Choices[static_cast<size_t>(i)];
            label.Text = word ? word->Nazwa : QString();
            label.AlignText();
            label.setVisible(task->Shown[static_cast<size_t>(i)]);
        }
        NameLabel->hide();
        StartTiming();
    }
    UpdateHintButton();
}

void CExerciseWY::UpdateHintButton()
{
    CTransButton* hint = Shared->HintButton;
    if (!hint)
        return;
    const SWYTask* task = CurrentTask();
    bool possible = false;
    if (task && !task->Solved)
        for (int i = 0; i < ChoiceCount; ++i)
            if (i != task->Correct && !task->Wrong[static_cast<size_t>(i)])
                possible = true;
    hint->SetEnabled(possible, true);
}

void CExerciseWY::ChoiceClicked(int i)
{
    SWYTask* task = CurrentTask();
    if (!task || task->Solved || i < 0 || i >= ChoiceCount || task->Wrong[static_cast<size_t>(i)])
        return;
    if (i == task->Correct) {
        Solve();
    } else {
        RuleOut(i);
        PlayErrorSound(true);
        task->HadError = true;
    }
    UpdateHintButton();
}

void CExerciseWY::RuleOut(int i)
{
    SWYTask* task = CurrentTask();
    task->Wrong[static_cast<size_t>(i)] = true;
    CKompLabel& label = *ChoiceLabels[static_cast<size_t>(i)];
    label.SetRuledOut(true);
    label.Repaint();
}

void CExerciseWY::Solve()
{
    SWYTask* task = CurrentTask();
    task->Solved = true;
    StopTiming();
    CountSolved(task->HadError);
    task->Shown.fill(false);
    for (auto& label : ChoiceLabels)
        label->hide();
    NameLabel->show();
    DrawTask();
    ShowNow();
    CRecWord* word = task->Word;
    if (word) {
        PlayWordSound(*word, false);
    }
    PraisePause();
    PlayPraise(true);
}

void CExerciseWY::Hint()
{
    SWYTask* task = CurrentTask();
    if (!task)
        return;
    if (!task->Solved) {
        const bool upward = Random(2) == 0;
        for (int k = 0; k < ChoiceCount; ++k) {
            const int i = upward ? k : ChoiceCount - 1 - k;
            if (!task->Wrong[static_cast<size_t>(i)] && i != task->Correct) {
                RuleOut(i);
                break;
            }
        }
    }
    UpdateHintButton();
    CountHint();
}

void CExerciseWY::DrawTask()
{
    CExercise::DrawTask();
    for (int i = 0; i < ChoiceCount; ++i)
        ChoiceLabels[static_cast<size_t>(i)]->Draw();
    const SWYTask* task = CurrentTask();
    if (CKompPhoto* photo = Shared->Photo) {
        photo->SetPhoto(task && task->Word ? task->Word->BCIndex : -1);
        photo->Draw();
    }
    NameLabel->Draw();
}

void CExerciseWY::HookPhoto(bool active)
{
    CKompPhoto* photo = Shared->Photo;
    if (!photo)
        return;
    if (active) {
        photo->OnMouseDown = [this](CKompPhoto*, Qt::MouseButton button, QPoint) {
            SWYTask* task = CurrentTask();
            if (button == Qt::RightButton && task && task->Word)
                PlayWordSound(*task->Word, true);
        };
        photo->Recompose = true;
        photo->show();
    } else {
        photo->OnMouseDown = nullptr;
        photo->hide();
    }
}

void CExerciseWY::Activate()
{
    Active = true;
    HookPhoto(true);
    ShowTask();
    DrawTask();
}

void CExerciseWY::Deactivate()
{
    Active = false;
    StopTiming();
    HookPhoto(false);
    for (auto& label : ChoiceLabels)
        label->hide();
    NameLabel->hide();
}

void CExerciseWY::ApplyColourMode()
{
    CExercise::ApplyColourMode();
    Places.Set_iCurrent(FirstPlace);
    for (auto& label : ChoiceLabels)
        label->LoadImages(Places);
    // The name label's image follows the colour mode as well.
    Places.Next();
    Places.Next();
    NameLabel->LoadImages(Places);
}

void CExerciseWY::ClearTasks()
{
    Tasks.Clear();
}
