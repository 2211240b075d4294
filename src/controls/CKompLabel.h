#pragma once
#include "controls/CKompPaintBox.h"
#include "graphics/CTransBitmap.h"

#include <QColor>
#include <QFont>
#include <QString>
#include <cstdint>
#include <functional>
#include <memory>

class CDynamicPlace;
class CSharpText;

// A skinned label of the exercises: one image (or, for kind 2, a normal, a
// highlighted and a pressed look) with a text on it, drawn into the exercise
// bitmap. Kinds 2 and 3 follow the mouse when Reactive.
class CKompLabel : public CKompPaintBox
{
public:
    CKompLabel(QWidget* owner, QImage* background, QImage* target);
    ~CKompLabel() override;

    QString Text;
    int TextX = 0;
    struct STextRect
    {
        int Left = 0;
        int Top = 0;
        int Right = 0; // exclusive
        int Bottom = 0;
    };
    STextRect TextRect; // relative to (X, Y)
    std::unique_ptr<QFont> Font;
    QColor TextColor = QColor(Qt::black);
    // The text of a choice ruled out, on its pressed look.
    static constexpr QRgb DimTextRgb = 0x202020;
    bool Center = false;
    bool WordWrap = false;
    bool Cursor = false;
    bool Recompose = true;
    uint8_t Kind = 0;
    uint8_t State = 0; // 0 normal, 1 pressed, 2 highlighted
    bool NoPressedImage = false;
    bool Reactive = true;
    CTransBitmap NormalImage;
    CTransBitmap HighlightImage;
    CTransBitmap PressedImage;

    // The exercises' hooks: a left click, and any button going down.
    std::function<void(CKompLabel*)> OnClick;
    std::function<void(CKompLabel*, Qt::MouseButton, QPoint)> OnMouseDown;

    void Place(CDynamicPlace& placement, int offsetX, int offsetY);
    void LoadImages(CDynamicPlace& placement);
    void AlignText();
    void Draw();
    void Repaint();
    void MoveTo(int x, int y);
    void MoveToY(int y);
    void SetLook(bool reactive, uint8_t state);
    // A choice ruled out: the pressed look, deaf to the mouse, its text dimmed;
    // or back to a live choice.
    void SetRuledOut(bool ruledOut);
    void SetState(uint8_t state, bool repaint);
    void DropPressedImage();

    // "Arial" bold in black at a height in pixels (cell height when positive,
    // character height when negative), as the skins give it.
    static QFont MakeFont(int height);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void changeEvent(QEvent* event) override;
    void PaintOver(ScreenPainter& painter, const QRegion& fromTarget) override;
    QRegion PaintedOver() const override;

private:
    bool FollowsMouse() const { return (Kind == 2 || Kind == 3) && Reactive; }
    CTransBitmap& CurrentLook();
    // A button going down, as a press or as the second press of a double click.
    void Press(QMouseEvent* event);
    void ComposeLooks();
    void DrawText();
    QFont FittingFont(const QString& text, const QRect& rect) const;

    bool m_clicked = false;
    // The text as last drawn, for a screen that shows the design larger.
    std::unique_ptr<CSharpText> m_sharpText;
};
