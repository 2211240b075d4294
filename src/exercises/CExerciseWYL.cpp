#include "exercises/CExerciseWYL.h"

#include "app/DisplayMode.h"
#include "content/ContentSound.h"
#include "graphics/BlendKernels.h"
#include "graphics/CSharedKomps.h"
#include "patients/CTherapySettings.h"

#include <QEvent>
#include <QMouseEvent>
#include <QObject>
#include <QRandomGenerator>
#include <QWidget>
#include <algorithm>
#include <utility>

namespace {

// Calls a handler on every right-button press of the watched widget.
class CRightClickFilter : public QObject
{
public:
    explicit CRightClickFilter(std::function<void()> handler) : m_handler(std::move(handler)) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::MouseButtonPress ||
            event->type() == QEvent::MouseButtonDblClick) {
            if (static_cast<QMouseEvent*>(event)->button() == Qt::RightButton)
                m_handler();
        }
        return QObject::eventFilter(watched, event);
    }

private:
    std::function<void()> m_handler;
};

// One picture per element; the group's first entry also carries its mask.
int AddGroup(CDynamicPlace& places, int count, int first1280, int mask1280, int first1024,
             int mask1024)
{
    const int group = places.Count() + 1;
    for (int i = 0; i < count; ++i) {
        const bool first = i == 0 && mask1280 >= 0;
        const int offset = mask1280 >= 0 && i > 0 ? 1 : 0; // past the mask's index
        places.Add(PT_BITMAP, 0);
        places.SetBitmap(DM_1280, first1280 + i + offset, -1, first ? mask1280 : -1);
        places.SetBitmap(DM_1024, first1024 + i + offset, -1, first ? mask1024 : -1);
    }
    return group;
}

void DrawCard(QImage& bitmap, QPoint at, const QImage* face, const QImage* mask)
{
    if (!face || !mask || face->isNull() || mask->isNull())
        return;
    const QRect clip(0, 0, std::min(face->width(), mask->width()),
                     std::min(face->height(), mask->height()));
    BlendClipped(bitmap, at.x(), at.y(), 255, bitmap, at.x(), at.y(), clip, *mask, *face);
}

} // namespace

CExerciseWYL::CExerciseWYL(CDynamicPlace& placement, CSharedKomps& shared)
    : CRepetitionExercise(placement, shared)
{
    const QPoint points[] = {{381, 92}, {381, 92}, {48, 159}, {381, 159}, {702, 159}};
    for (const QPoint& p : points) {
        Places.Add(PT_POINT, 0);
        Places.SetPoint(DM_1024, p.x(), p.y(), -1);
    }
    DayGroup = AddGroup(Places, 7, 177, 178, 125, 126);
    MonthGroup = AddGroup(Places, 12, 185, 186, 133, 134);
    DigitGroupA = AddGroup(Places, 10, 146, 147, 94, 95);
    DigitGroupB = AddGroup(Places, 10, 167, -1, 115, -1);
    DigitGroupC = AddGroup(Places, 10, 157, -1, 105, -1);

    Places.Set_iCurrent(FirstPlace);
    for (QPoint* pos : {&DayPos, &MonthPos, &DigitPosA, &DigitPosB, &DigitPosC}) {
        *pos = Places.Get_CPotint();
        Places.Next();
    }
    DayMask = LoadPicture(DayGroup, true);
    MonthMask = LoadPicture(MonthGroup, true);
    DigitMask = LoadPicture(DigitGroupA, true);

    m_rightClick = std::make_unique<CRightClickFilter>([this] {
        if (Active)
            SpeakElement();
    });
}

CExerciseWYL::~CExerciseWYL()
{
    if (PaintBox)
        PaintBox->removeEventFilter(m_rightClick.get());
}

std::unique_ptr<QImage> CExerciseWYL::LoadPicture(int position, bool mask)
{
    Places.Set_iCurrent(position);
    return Places.SuitableBitmap(Places.CurrentDP(), mask, 0, 0);
}

const CExerciseWYL::SWYLTask* CExerciseWYL::CurrentTask() const
{
    return TaskIndex < Tasks.Count() ? &Tasks[TaskIndex] : nullptr;
}

QString CExerciseWYL::ElementSound(const SWYLTask& task)
{
    static const char* const prefixes[] = {"Data/dml/d", "Data/dml/m", "Data/dml/l"};
    return QLatin1String(prefixes[task.Series]) + QString::number(task.Element + 1);
}

void CExerciseWYL::SpeakElement()
{
    if (const SWYLTask* task = CurrentTask())
        PlayWv(ElementSound(*task), true);
}

void CExerciseWYL::AnnounceTask()
{
    Announce(AnnounceDelayMs, [this] { SpeakElement(); });
}

void CExerciseWYL::Prepare(const CTherapySettings& settings)
{
    const ExeSet& set = settings.Get_ExeSet(CTherapySettings::WYL);
    ReadPaging(set);
    Tasks.Clear();
    Tasks.Reserve(29);
    const struct
    {
        int bit;
        ESeries series;
        int count;
    } series[] = {{CTherapySettings::WylDaysBit, Day, 7},
                  {CTherapySettings::WylMonthsBit, Month, 12},
                  {CTherapySettings::WylDigitsBit, Digit, 10}};
    for (const auto& s : series)
        if (set.Flags & s.bit)
            for (int e = 0; e < s.count; ++e)
                Tasks.Add(SWYLTask{s.series, e});
    const int n = Tasks.Count();
    if (set.Flags & CTherapySettings::WylRandomBit)
        for (int i = 0; i < n - 1; ++i)
            std::swap(Tasks[i], Tasks[QRandomGenerator::global()->bounded(i, n)]);
    TaskCount = std::max(1, n);
    TaskIndex = 0;
    ShowTask();
}

void CExerciseWYL::ShowTask()
{
    Face.reset();
    FaceB.reset();
    FaceC.reset();
    const SWYLTask* task = CurrentTask();
    if (!task)
        return;
    switch (task->Series) {
    case Day:
        Face = LoadPicture(DayGroup + task->Element, false);
        break;
    case Month:
        Face = LoadPicture(MonthGroup + task->Element, false);
        break;
    default:
        Face = LoadPicture(DigitGroupA + task->Element, false);
        FaceB = LoadPicture(DigitGroupB + task->Element, false);
        FaceC = LoadPicture(DigitGroupC + task->Element, false);
        break;
    }
}

void CExerciseWYL::ClearTasks()
{
    Face.reset();
    FaceB.reset();
    FaceC.reset();
}

bool CExerciseWYL::SelectTask(int index)
{
    const bool changed = CExercise::SelectTask(index);
    if (changed && Active)
        AnnounceTask();
    return changed;
}

void CExerciseWYL::Activate()
{
    Active = true;
    if (PaintBox)
        PaintBox->installEventFilter(m_rightClick.get());
    StartPaging();
    ShowTask();
    DrawTask();
    AnnounceTask();
}

void CExerciseWYL::Deactivate()
{
    Active = false;
    if (PaintBox)
        PaintBox->removeEventFilter(m_rightClick.get());
    StopPaging();
}

void CExerciseWYL::DrawTask()
{
    CExercise::DrawTask();
    const SWYLTask* task = CurrentTask();
    if (task && Bitmap && !Bitmap->isNull()) {
        switch (task->Series) {
        case Day:
            DrawCard(*Bitmap, DayPos, Face.get(), DayMask.get());
            break;
        case Month:
            DrawCard(*Bitmap, MonthPos, Face.get(), MonthMask.get());
            break;
        default:
            DrawCard(*Bitmap, DigitPosA, Face.get(), DigitMask.get());
            DrawCard(*Bitmap, DigitPosB, FaceB.get(), DigitMask.get());
            DrawCard(*Bitmap, DigitPosC, FaceC.get(), DigitMask.get());
            break;
        }
    }
    DrawTimer();
}
