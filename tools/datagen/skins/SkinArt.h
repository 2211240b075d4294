#pragma once
#include <QColor>
#include <QImage>
#include <QPainterPath>
#include <QRect>
#include <QString>
#include <functional>

// The drawing vocabulary of the skins: one calm, high-contrast look for every
// window, button, label and tile. Images are Format_BGR888, masks
// Format_Grayscale8 (0 = background shows, 255 = image shows).
namespace SkinArt {

// Colours shared by all skins.
namespace Ink {
inline const QColor Text{20, 28, 48};        // near-black text
inline const QColor Navy{0, 0, 128};         // titles
inline const QColor Border{52, 86, 138};     // outlines of cards and buttons
inline const QColor Face{250, 251, 253};     // card face
inline const QColor FaceLow{226, 233, 242};  // lower end of the card gradient
inline const QColor Hot{255, 228, 128};      // highlighted (hover) face
inline const QColor HotBorder{176, 96, 0};   // highlighted outline, heavy so it shows in grey too
inline const QColor Pressed{205, 214, 228};  // pressed face
inline const QColor Shadow{24, 32, 48};      // drop shadow
inline const QColor WindowBg{222, 234, 246}; // main window background
inline const QColor Panel1280{129, 194, 243};
inline const QColor Panel1024{128, 192, 240};
inline const QColor ListFace{201, 228, 250};
} // namespace Ink

enum class Look
{
    Normal,
    Hot,
    Pressed
};

struct ImagePair
{
    QImage image; // BGR888
    QImage mask;  // Grayscale8, null when the element has none
};

QImage NewImage(QSize size, const QColor& fill);
QImage NewMask(QSize size);
QImage ToGrey(const QImage& image); // luminance as the program computes it, kept BGR888
QFont Font(int pixelSize, bool bold = true);

// Largest font (up to maxPx) at which text fits rect with the given flags.
int FitFontPx(const QString& text, const QRect& rect, int maxPx, int flags, bool bold = true);
void DrawFittedText(QPainter& p, const QRect& rect, const QString& text, int maxPx, int flags,
                    const QColor& colour, bool bold = true);

void BoxBlur(QImage& grey, int radius);

// A shaped element: the face inside `shape`, a soft shadow below it, soft edges.
// paintFace draws the face (clipped to nothing: it may use the whole image).
ImagePair Shaped(QSize size, const QPainterPath& shape, int shadowDx, int shadowDy, int shadowBlur,
                 const std::function<void(QPainter&)>& paintFace);

// A rounded card inside `size` leaving room for its shadow; returns its rect.
// With sameShape the pressed look keeps the normal outline (for looks that
// share the normal look's mask).
QRectF CardRect(QSize size, Look look, bool sameShape = false);

// The colours of a card face.
struct CardStyle
{
    QColor top, low, border;
    qreal borderWidth = 2;
};
CardStyle StyleFor(Look look, const QColor& face, QSize size);
ImagePair StyledCard(QSize size, const CardStyle& style, bool shifted, const QString& text = {},
                     int textPx = 0);
QPainterPath RoundedPath(const QRectF& r, qreal radius);

// A card of the given look with `text` centred (or none) in it.
ImagePair Card(QSize size, Look look, const QString& text = {}, int textPx = 0,
               const QColor& face = Ink::Face, bool sameShape = false);

// A pressable button with an icon drawn by `icon` into the given rect, and an
// optional caption under the icon.
ImagePair Button(QSize size, Look look, const QColor& face,
                 const std::function<void(QPainter&, const QRectF&, const QColor&)>& icon,
                 const QString& caption = {}, bool grey = false);

// A mask only (the shadowless shape of a card), for images that share it.
QImage ShapeMask(QSize size, const QPainterPath& shape, int blur = 1);

// Icons, drawn in `ink` into `box`.
namespace Icon {
void Play(QPainter& p, const QRectF& box, const QColor& ink);
void Record(QPainter& p, const QRectF& box, const QColor& ink);
void Stop(QPainter& p, const QRectF& box, const QColor& ink);
void Trash(QPainter& p, const QRectF& box, const QColor& ink);
void Plus(QPainter& p, const QRectF& box, const QColor& ink);
void Pencil(QPainter& p, const QRectF& box, const QColor& ink);
void Info(QPainter& p, const QRectF& box, const QColor& ink);
void Question(QPainter& p, const QRectF& box, const QColor& ink);
void Exit(QPainter& p, const QRectF& box, const QColor& ink);
void Palette(QPainter& p, const QRectF& box, const QColor& ink, bool colour);
void ArrowRight(QPainter& p, const QRectF& box, const QColor& ink);
void ArrowLeft(QPainter& p, const QRectF& box, const QColor& ink);
void Bulb(QPainter& p, const QRectF& box, const QColor& ink);
void Replay(QPainter& p, const QRectF& box, const QColor& ink);
void Close(QPainter& p, const QRectF& box, const QColor& ink);
void Hourglass(QPainter& p, const QRectF& box, const QColor& ink);
void Check(QPainter& p, const QRectF& box, const QColor& ink);
void People(QPainter& p, const QRectF& box, const QColor& ink);
void Chart(QPainter& p, const QRectF& box, const QColor& ink);
} // namespace Icon

} // namespace SkinArt
