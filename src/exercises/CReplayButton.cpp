#include "exercises/CReplayButton.h"

#include "app/DisplayMode.h"
#include "graphics/BlendKernels.h"
#include "graphics/CDynamicPlace.h"
#include "graphics/CSharedKomps.h"

#include <QImage>
#include <algorithm>

namespace {
// Kind 1: a fast second click counts as a click.
constexpr int ButtonKind = 1;
} // namespace

CReplayButton::CReplayButton(CSharedKomps& shared, std::function<void()> onClick)
    : CTransButton(shared.OwnerForm, ButtonKind, std::move(onClick), &shared.ExerciseBitmap)
{
    if (const QWidget* area = shared.ExerciseArea) {
        BgOffsetX = area->x();
        BgOffsetY = area->y();
    }
    hide();
}

int CReplayButton::AddEntries(CDynamicPlace& places)
{
    const int first = places.Count() + 1;
    places.Add(PT_POINT | PF_CENTERED, 0);
    places.SetPoint(DM_1280, 1000, 292, -1);
    for (int look = 0; look < 3; ++look) {
        places.Add(PT_BITMAP | PT_TRANSBITMAP, 0);
        places.SetBitmap(DM_1280, 346 + 2 * look, -1, 347 + 2 * look);
        places.SetBitmap(DM_1024, 352 + 2 * look, -1, 353 + 2 * look);
    }
    return first;
}

void CReplayButton::PlaceAt(CDynamicPlace& places, int place)
{
    places.Set_iCurrent(place);
    PlaceFromTable(places);
    Refresh();
}

const CTransBitmap& CReplayButton::CurrentLook()
{
    CTransBitmap* look = &NormalBitmap();
    if (State() == EState::Hover)
        look = &HoverBitmap();
    else if (State() == EState::Pressed)
        look = &PressedBitmap();
    return look->Image() ? *look : NormalBitmap();
}

void CReplayButton::DrawInto(QImage& bitmap, const QWidget* area)
{
    if (!isVisible() || bitmap.isNull())
        return;
    const CTransBitmap& look = CurrentLook();
    const QImage* image = look.Image();
    const QImage* mask = look.Mask() ? look.Mask() : NormalBitmap().Mask();
    if (image && mask) {
        const int x = this->x() - (area ? area->x() : 0);
        const int y = this->y() - (area ? area->y() : 0);
        const QRect clip(0, 0, std::min(image->width(), mask->width()),
                         std::min(image->height(), mask->height()));
        BlendClipped(bitmap, x, y, 255, bitmap, x, y, clip, *mask, *image);
    }
    Refresh();
}
