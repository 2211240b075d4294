#include "exercises/CExercise.h"

#include "controls/CKompPaintBox.h"
#include "graphics/BitmapTools.h"
#include "graphics/CBitmapBox.h"
#include "graphics/CDelayCall.h"
#include "graphics/CSharedKomps.h"
#include "statistics/CStatEx.h"

#include <QPainter>
#include <QThread>
#include <QWidget>

int CExercise::PraisePauseMs = 1400;

CExercise::CExercise(CDynamicPlace& placement, CSharedKomps& shared)
    : Bitmap(shared.ExerciseBitmap), PaintBox(shared.ExerciseArea), Shared(&shared)
{
    Places.Container = placement.Container;
    Places.Add(PT_COLOR, 0);
    Places.Set_CurrentDP(placement.CurrentDP());
    BackColor = Places.Get_CColor();
    placement.Next();
}

CExercise::~CExercise() = default;

bool CExercise::SelectTask(int index)
{
    if (!IsNewTask(index))
        return false;
    TaskIndex = index;
    if (Active) {
        ShowTask();
        Paint();
    }
    return true;
}

void CExercise::Activate()
{
    Active = true;
    ShowTask();
    DrawTask();
    StartTiming();
}

void CExercise::Deactivate()
{
    StopTiming();
    Active = false;
}

void CExercise::Prepare(const CTherapySettings&) {}

void CExercise::ApplyColourMode()
{
    Places.Set_iCurrent(1);
    BackColor = Places.Get_CColor();
}

void CExercise::DrawTask()
{
    if (!Bitmap || Bitmap->isNull())
        return;
    Fill24(*Bitmap, BackColor);
}

void CExercise::Paint()
{
    DrawTask();
    ShowBitmap(false);
}

void CExercise::StartTiming()
{
    if (StatEx)
        StatEx->StartTiming();
}

void CExercise::StopTiming()
{
    if (StatEx)
        StatEx->StopTiming();
}

void CExercise::CountSolved(bool hadError)
{
    if (!StatEx)
        return;
    if (StatEx->Rozw < StatEx->LZ)
        ++StatEx->Rozw;
    if (hadError)
        ++StatEx->Blad;
}

void CExercise::CountHint()
{
    if (StatEx && StatEx->Pomoc < StatEx->PomocMax)
        ++StatEx->Pomoc;
}

void CExercise::SetPomocMax(int steps)
{
    if (StatEx)
        StatEx->PomocMax = steps > 0 ? steps : 999;
}

void CExercise::ShowNow()
{
    if (PaintBox && PaintBox->isVisible())
        ShowBitmap(true);
}

void CExercise::ShowBitmap(bool now)
{
    if (!PaintBox)
        return;
    // The controls (photo, labels, letter board) are opaque siblings over the
    // paint box that show their own parts of Bitmap: an update of the box
    // alone leaves them as they were. Those that remember what they painted
    // repaint only what changed.
    const auto show = [now](QWidget* w) { now ? w->repaint() : w->update(); };
    if (auto* box = dynamic_cast<CBitmapBox*>(PaintBox))
        box->ShowChanges(now);
    else
        show(PaintBox);
    if (QWidget* owner = PaintBox->parentWidget())
        for (QWidget* w : owner->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            if (w == PaintBox || !w->isVisible() || !w->geometry().intersects(PaintBox->geometry()))
                continue;
            if (auto* control = dynamic_cast<CKompPaintBox*>(w);
                control && control->Target == Bitmap)
                control->ShowChanges(now);
            else
                show(w);
        }
}

void CExercise::PraisePause()
{
    if (PraisePauseMs > 0)
        QThread::msleep(static_cast<unsigned long>(PraisePauseMs));
}

void CExercise::Announce(int delayMs, std::function<void()> announce)
{
    CDelayCall* delay = Shared->DelayCall;
    if (!delay)
        return;
    // The shared delayed call may fire after another exercise took over.
    delay->Callback = [this, announce = std::move(announce)] {
        if (Active)
            announce();
    };
    delay->Call(delayMs);
}
