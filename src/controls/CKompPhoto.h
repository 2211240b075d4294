#pragma once
#include "controls/CKompPaintBox.h"
#include "graphics/CTransBitmap.h"

#include <functional>
#include <memory>

class CBitmapsContainer;
class COwnMaterial;
class CDynamicPlace;

// The picture of the exercises: a frame image with a picture from the photo
// archive inside it, cut to the shape of a mask, drawn into the exercise
// bitmap.
class CKompPhoto : public CKompPaintBox
{
public:
    CKompPhoto(QWidget* owner, QImage* background, QImage* target);
    ~CKompPhoto() override;

    CBitmapsContainer* Archive = nullptr; // not owned; may be unset
    // The pictures of own words (indices from CWords::OwnPictureBase), at the
    // large or the small archive size. Not owned; may be unset.
    const COwnMaterial* OwnArchive = nullptr;
    bool OwnLarge = true;
    int PhotoIndex = -1;
    CTransBitmap Frame;
    int PhotoX = 0;
    int PhotoY = 0;
    std::unique_ptr<QImage> Photo; // of the mask's size; empty when none
    std::unique_ptr<QImage> Mask;
    bool Recompose = true;

    // Set by the exercise that is active (the right button plays the word).
    std::function<void(CKompPhoto*, Qt::MouseButton, QPoint)> OnMouseDown;

    void Place(CDynamicPlace& placement, int offsetX, int offsetY);
    void LoadImages(CDynamicPlace& placement);
    void SetPhoto(int index);
    void Draw();
    void Repaint();
    void SetPictureFromPlace(CDynamicPlace& placement);

protected:
    void mousePressEvent(QMouseEvent* event) override;

private:
    void ClearPhoto();
    bool LoadPicture(int index, QImage* loaded) const;
};
