#include "exercises/CExercisePWY.h"
#include "app/DisplayMode.h"

#include "content/CWords.h"
#include "content/ContentSound.h"
#include "controls/CKompLabel.h"
#include "graphics/CSharedKomps.h"
#include "patients/CTherapySettings.h"

#include <QWidget>

namespace {
const QString BeginSuffix = QStringLiteral(" ...");
const QString EndingPrefix = QStringLiteral("... ");
} // namespace

CExercisePWY::CExercisePWY(CDynamicPlace& placement, CSharedKomps& shared)
    : CChoiceExercise(placement, shared)
{
    AddEntries();
    const int offX = PaintBox ? PaintBox->x() : 0;
    const int offY = PaintBox ? PaintBox->y() : 0;
    Places.Set_iCurrent(FirstPlace);
    BeginLabel = std::make_unique<CKompLabel>(Shared->OwnerForm, Bitmap, Bitmap);
    BeginLabel->Place(Places, offX, offY);
    BeginLabel->hide();
    BeginLabel->OnMouseDown = [this](CKompLabel*, Qt::MouseButton b, QPoint) {
        OnBeginMouseDown(b);
    };
    MakeColumn();
}

CExercisePWY::~CExercisePWY()
{
    ClearTasks();
}

void CExercisePWY::AddEntries()
{
    Places.Add(PT_PLACE, 0);
    Places.SetPlace(DM_1280, 135, 118, 0, 0, 46);
    Places.Add(PT_RECT, 1);
    Places.SetRect(DM_1280, 29, 33, 0, 80, -1);
    Places.Add(PT_BITMAP | PT_TRANSBITMAP, 0);
    Places.SetBitmap(DM_1280, 233, -1, 234);
    Places.SetBitmap(DM_1024, 228, -1, 229);
    AddColumnEntries(Places, 314, 100, 254);
}

QString CExercisePWY::ChoiceText(int i)
{
    const SPWYTask* task = Current();
    const CRecProverb* p = task ? task->Choices[i] : nullptr;
    return p ? EndingPrefix + p->Kon : QString();
}

void CExercisePWY::PlayChoice(int i)
{
    const SPWYTask* task = Current();
    if (task && task->Choices[i])
        PlayProverbEnd(*task->Choices[i], true);
}

void CExercisePWY::Prepare(const CTherapySettings& settings)
{
    MakeTasks(Tasks, &SPWYTask::Proverb, settings.Get_ExeSet(CTherapySettings::PWY), 0xFF,
              SItemKind<CRecProverb>{&CWords::SelectProverbs, &CWords::DrawProverbs,
                                     &CWords::ClearProverbMarks},
              false);
}

void CExercisePWY::ClearTasks()
{
    Tasks.Clear();
}

void CExercisePWY::AnnounceTask()
{
    Announce(AnnounceMs, [this] {
        const SPWYTask* task = Current();
        if (task && !task->Solved)
            PlayProverbBegin(*task->Proverb, true);
    });
}

void CExercisePWY::ShowTask()
{
    if (const SPWYTask* task = Current()) {
        BeginLabel->Text = task->Proverb->Pocz + BeginSuffix;
        BeginLabel->AlignText();
    }
    CChoiceExercise::ShowTask();
}

void CExercisePWY::OnBeginMouseDown(Qt::MouseButton button)
{
    StopContentSound();
    const SPWYTask* task = Current();
    if (button == Qt::RightButton && task)
        PlayProverbBegin(*task->Proverb, true);
}

void CExercisePWY::Activate()
{
    BeginLabel->show();
    CChoiceExercise::Activate();
}

void CExercisePWY::Deactivate()
{
    CChoiceExercise::Deactivate();
    BeginLabel->hide();
    StopContentSound();
}

void CExercisePWY::DrawTask()
{
    CChoiceExercise::DrawTask();
    BeginLabel->Draw();
}

void CExercisePWY::ApplyColourMode()
{
    CChoiceExercise::ApplyColourMode();
    Places.Set_iCurrent(FirstPlace);
    BeginLabel->LoadImages(Places);
}
