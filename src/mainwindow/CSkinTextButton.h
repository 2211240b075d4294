#pragma once
#include "graphics/CBitmapsContainer.h"

#include <QImage>
#include <QPushButton>

// A push button in the look of the main window's skinned buttons, for the
// buttons the skin has no picture of: its face is cut from a skinned
// button's pictures (normal, under the mouse, pressed; colour or grey, with
// the mask of its round corners) and stretched to any size by its corners,
// edges and a plain column of its body; the caption is written on it in
// white. It follows the colour mode and its size when it is painted.
class CSkinTextButton : public QPushButton
{
public:
    struct SSkin
    {
        int images[3][3]; // (colour, grey, mask) of normal, under the mouse, pressed
    };
    // The blue of the main window's column of buttons ("Pomoc").
    static const SSkin MainButtonSkin;

    // `buttons`: the skin's button pictures; null: the program's
    // (ButtonsContainer) as they are when the button is painted, since the
    // button may be made before they are read.
    CSkinTextButton(const QString& caption, QWidget* parent, CBitmapsContainer* buttons = nullptr,
                    const SSkin& skin = MainButtonSkin);

    enum EFace : int
    {
        FaceNormal = 0,
        FaceHover = 1,
        FacePressed = 2,
    };
    // The face of a state at the current size and colour mode, caption
    // included (empty without a skin).
    QImage Face(int state) const;
    int FaceShown() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    CBitmapsContainer* m_buttons;
    SSkin m_skin;
};
