#include "controls/CKompPhoto.h"

#include "app/CError.h"
#include "content/COwnMaterial.h"
#include "content/CWords.h"
#include "graphics/BitmapTools.h"
#include "graphics/BlendKernels.h"
#include "graphics/CBitmapsContainer.h"
#include "graphics/CDynamicPlace.h"
#include "graphics/StretchBitmap.h"

#include <QMouseEvent>
#include <QPainter>
#include <algorithm>

CKompPhoto::CKompPhoto(QWidget* owner, QImage* background, QImage* target)
    : CKompPaintBox(owner, background, target),
      Photo(std::make_unique<QImage>(0, 0, QImage::Format_BGR888))
{
}

CKompPhoto::~CKompPhoto() = default;

void CKompPhoto::Place(CDynamicPlace& placement, int offsetX, int offsetY)
{
    if ((placement.CurrentDP().Flags & PT_MASK) != PT_PLACE)
        throw CError(QStringLiteral("CKompPhoto::Place - Bieżący wpis nie jest typu PT_PLACE!"));
    const int start = placement.Get_iCurrent();
    X = placement.Get_CLeft();
    Y = placement.Get_CTop();
    placement.Next();
    PhotoX = placement.Get_CX();
    PhotoY = placement.Get_CY();
    placement.Set_iCurrent(start);
    LoadImages(placement);
    const QImage* frame = Frame.Image();
    setGeometry(offsetX + X, offsetY + Y, frame ? frame->width() : 0, frame ? frame->height() : 0);
}

void CKompPhoto::LoadImages(CDynamicPlace& placement)
{
    placement.Next();
    placement.Next();
    placement.GetTransBitmap(Frame);
    placement.Next();
    Mask = placement.SuitableBitmap(placement.CurrentDP(), true, 0, 0);
    if (Mask->format() != QImage::Format_Grayscale8)
        ToGrey8(*Mask, true);
    placement.Next();
    Recompose = true;
    // The picture takes the new mask's size and the colour mode.
    const int index = PhotoIndex;
    SetPhoto(-1);
    SetPhoto(index);
}

void CKompPhoto::ClearPhoto()
{
    *Photo = QImage(0, 0, QImage::Format_BGR888);
    PhotoIndex = -1;
}

bool CKompPhoto::LoadPicture(int index, QImage* loaded) const
{
    if (index >= CWords::OwnPictureBase)
        return OwnArchive &&
               OwnArchive->LoadPicture(index - CWords::OwnPictureBase, OwnLarge, loaded) &&
               !loaded->isNull();
    if (!Archive || index < 0 || index >= Archive->Count())
        return false;
    return Archive->LoadTo(loaded, index) == CBitmapsContainer::BC_OK && !loaded->isNull();
}

void CKompPhoto::SetPhoto(int index)
{
    if (index == PhotoIndex)
        return;
    QImage loaded;
    if (!LoadPicture(index, &loaded)) {
        ClearPhoto();
        return;
    }
    Make24(loaded);
    if (Mask && !Mask->isNull() && loaded.size() != Mask->size()) {
        QImage stretched = NewBitmap24(Mask->width(), Mask->height());
        Stretch(stretched, loaded);
        loaded = std::move(stretched);
    }
    *Photo = std::move(loaded);
    MonoBitmap(Photo.get());
    PhotoIndex = index;
}

void CKompPhoto::Draw()
{
    if (!isVisible() || !Target)
        return;
    if (Recompose) {
        Frame.Compose(Frame.Image(), Frame.Mask(), 255, Background, X, Y);
        Recompose = false;
    }
    const QImage* frame = Frame.Composite() ? Frame.Composite() : Frame.Image();
    if (!frame)
        return;
    {
        QPainter p(Target);
        p.drawImage(X, Y, *frame);
    }
    if (Photo->isNull() || !Mask || Mask->size() != Photo->size())
        return;
    BlendClipped(*Target, X + PhotoX, Y + PhotoY, 255, *frame, PhotoX, PhotoY, Photo->rect(), *Mask,
                 *Photo);
}

void CKompPhoto::Repaint()
{
    if (!isVisible())
        return;
    Draw();
    CopyTargetToScreen();
}

void CKompPhoto::SetPictureFromPlace(CDynamicPlace& placement)
{
    PhotoIndex = -1;
    Photo = placement.SuitableBitmap(placement.CurrentDP(), false, 0, 0);
    Make24(*Photo);
    if (!Mask || Mask->size() == Photo->size())
        return;
    // The mask keeps what it had; a new area is clear.
    QImage resized(Photo->size(), QImage::Format_Grayscale8);
    resized.fill(0);
    const int rows = std::min(resized.height(), Mask->height());
    const int bytes = std::min(resized.width(), Mask->width());
    for (int y = 0; y < rows; ++y)
        std::copy_n(Mask->constScanLine(y), bytes, resized.scanLine(y));
    *Mask = std::move(resized);
}

void CKompPhoto::mousePressEvent(QMouseEvent* event)
{
    if (OnMouseDown)
        OnMouseDown(this, event->button(), event->position().toPoint());
}
