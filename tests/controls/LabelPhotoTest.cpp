#include "ControlsFixture.h"
#include "app/CError.h"
#include "common/ChildProcess.h"
#include "common/TempDir.h"
#include "common/WaveFixture.h"
#include "content/COwnMaterial.h"
#include "content/CWords.h"
#include "controls/CKompLabel.h"
#include "controls/CKompPhoto.h"
#include "graphics/CDynamicPlace.h"

#include <QFontMetrics>
#include <QPainter>
#include <QProcessEnvironment>

using namespace fixture;

namespace {

// A label group: its place (kind, font height), its text rectangle (centre
// and word-wrap bits) and one or three looks.
void AddLabel(CDynamicPlace& t, int kind, int left, int top, int textFlags, QRect text,
              int fontHeight = 16)
{
    t.Add(PT_PLACE, kind);
    t.SetPlace(DM_1024, left, top, 0, 0, fontHeight);
    t.Add(PT_RECT, textFlags);
    t.SetRect(DM_1024, text.left(), text.top(), text.right(), text.bottom(), -1);
    t.Add(PT_BITMAP | PT_TRANSBITMAP, 0);
    t.SetBitmap(DM_1024, LabelNormal, -1, LabelMask);
    if (kind == 2) {
        t.Add(PT_BITMAP | PT_TRANSBITMAP, 0);
        t.SetBitmap(DM_1024, LabelHighlight, -1, -1); // borrows the normal mask
        t.Add(PT_BITMAP | PT_TRANSBITMAP, 0);
        t.SetBitmap(DM_1024, LabelPressed, -1, -1);
    }
}

// Text rectangles here are given as left, top, right, bottom (exclusive).
QRect Edges(int l, int t, int r, int b)
{
    return QRect(QPoint(l, t), QPoint(r, b));
}

bool IsText(QRgb c)
{
    return qRed(c) < 120; // black text over the red normal look
}

} // namespace

class LabelTest : public ControlsTest
{
protected:
    CKompLabel* MakeLabel(int kind, int textFlags, QRect text, int left = 30, int top = 20)
    {
        CDynamicPlace t;
        t.Container = &container;
        AddLabel(t, kind, left, top, textFlags, text);
        t.Set_iCurrent(1);
        auto* label = new CKompLabel(host.get(), nullptr, target.get());
        label->Place(t, 5, 7);
        label->show();
        return label;
    }
};

TEST_F(LabelTest, PlaceReadsItsEntriesAndLeavesTheCursorAtTheNextLabel)
{
    CDynamicPlace t;
    t.Container = &container;
    AddLabel(t, 2, 30, 20, 1, Edges(4, 6, 0, 0));
    AddLabel(t, 0, 30, 100, 2, Edges(0, 0, 50, 30));
    t.Set_iCurrent(1);
    CKompLabel first(host.get(), nullptr, target.get());
    CKompLabel second(host.get(), nullptr, target.get());
    first.Place(t, 5, 7);
    EXPECT_EQ(t.Get_iCurrent(), 6); // past the place, the rectangle and three looks
    second.Place(t, 5, 7);

    EXPECT_EQ(first.Kind, 2);
    EXPECT_EQ(first.X, 30);
    EXPECT_EQ(first.Y, 20);
    EXPECT_EQ(first.geometry(), QRect(35, 27, LabelWidth, LabelHeight));
    EXPECT_TRUE(first.Center);
    EXPECT_FALSE(first.WordWrap);
    // A right or bottom of 0 reaches to the label's edge less the left/top.
    EXPECT_EQ(first.TextRect.Left, 4);
    EXPECT_EQ(first.TextRect.Right, LabelWidth - 4);
    EXPECT_EQ(first.TextRect.Bottom, LabelHeight - 6);
    EXPECT_EQ(first.PressedImage.Image()->pixel(0, 0) | 0xff000000u, PressedColour);
    EXPECT_EQ(second.Kind, 0);
    EXPECT_TRUE(second.WordWrap);
    EXPECT_FALSE(second.Center);
    EXPECT_EQ(second.TextRect.Right, 50);
    EXPECT_EQ(second.Font->family(), QStringLiteral("Arial"));
    EXPECT_TRUE(second.Font->bold());
    EXPECT_EQ(second.HighlightImage.Image(), nullptr);

    // An exercise reloads both labels from the first one's position.
    t.Set_iCurrent(1);
    first.LoadImages(t);
    EXPECT_EQ(t.Get_iCurrent(), 6);
    second.LoadImages(t);
    EXPECT_EQ(t.Get_iCurrent(), 0); // past the end of the table

    t.Set_iCurrent(2); // a rectangle, not a place
    EXPECT_THROW(first.Place(t, 0, 0), CError);
}

TEST_F(LabelTest, CentredTextFitsOrStartsAtTheLeftAndIsClipped)
{
    CKompLabel* label = MakeLabel(0, 1, Edges(10, 5, 110, 35));
    const QFontMetrics fm(*label->Font);

    label->Text = QStringLiteral("KOT");
    label->AlignText();
    const int w = fm.horizontalAdvance(label->Text);
    ASSERT_LT(w, 100);
    EXPECT_EQ(label->TextX, 10 + 50 - w / 2);

    label->Text = QStringLiteral("ŻÓŁWIE ŻÓŁWIE ŻÓŁWIE");
    label->AlignText();
    ASSERT_GT(fm.horizontalAdvance(label->Text), 100);
    EXPECT_EQ(label->TextX, 10);

    label->Repaint();
    // Text starts right at the rectangle's left and never passes its right edge.
    const int x0 = label->X;
    const int y0 = label->Y;
    bool nearLeft = false;
    for (int y = 5; y < 35; ++y) {
        for (int x = 0; x < 10; ++x)
            EXPECT_FALSE(IsText(At(x0 + x, y0 + y))) << x << "," << y;
        for (int x = 110; x < LabelWidth; ++x)
            EXPECT_FALSE(IsText(At(x0 + x, y0 + y))) << x << "," << y;
        for (int x = 10; x < 14; ++x)
            nearLeft = nearLeft || IsText(At(x0 + x, y0 + y));
    }
    EXPECT_TRUE(nearLeft);
    // The screen shows what went into the exercise bitmap.
    EXPECT_EQ(Shown(*label, 60, 3), At(x0 + 60, y0 + 3));

    // Not centred: the text starts at the left even when it fits.
    label->Center = false;
    label->Text = QStringLiteral("KOT");
    label->AlignText();
    EXPECT_EQ(label->TextX, 10);
}

TEST_F(LabelTest, WordWrapBreaksLinesInsideTheRectangle)
{
    CKompLabel* label = MakeLabel(0, 3, Edges(10, 2, 90, 40));
    label->Text = QStringLiteral("ALA MA KOTA");
    label->TextX = 77;
    label->AlignText(); // leaves a word-wrapped label alone
    EXPECT_EQ(label->TextX, 77);
    label->Repaint();

    // Text rows: at least two bands of lines, all within the rectangle.
    std::vector<bool> rowHasText(LabelHeight, false);
    for (int y = 0; y < LabelHeight; ++y)
        for (int x = 0; x < LabelWidth; ++x)
            if (IsText(At(label->X + x, label->Y + y))) {
                rowHasText[y] = true;
                EXPECT_TRUE(x >= 10 && x < 90) << x << "," << y;
            }
    int bands = 0;
    for (int y = 0; y < LabelHeight; ++y)
        if (rowHasText[y] && (y == 0 || !rowHasText[y - 1]))
            ++bands;
    EXPECT_GE(bands, 2);
}

TEST_F(LabelTest, AWrappedTextTooLongForTheLabelShrinksInsteadOfLosingItsLastLine)
{
    // Room for one line and a half of the label's letters.
    const int line = QFontMetrics(CKompLabel::MakeFont(16)).lineSpacing();
    CKompLabel* label = MakeLabel(0, 2, Edges(10, 2, 90, 2 + line * 3 / 2));
    label->Text = QStringLiteral("ALA MA KOTA");
    label->Repaint();

    // Whole lines of text (smaller ones); none cut off at the rectangle's
    // bottom edge, where a clipped line would end.
    const int bottom = 2 + line * 3 / 2 - 1;
    std::vector<bool> rowHasText(LabelHeight, false);
    for (int y = 0; y < LabelHeight; ++y)
        for (int x = 10; x < 90; ++x)
            rowHasText[y] = rowHasText[y] || IsText(At(label->X + x, label->Y + y));
    int bands = 0;
    for (int y = 0; y < LabelHeight; ++y)
        if (rowHasText[y] && (y == 0 || !rowHasText[y - 1]))
            ++bands;
    EXPECT_GE(bands, 1);
    EXPECT_FALSE(rowHasText[bottom]);
    EXPECT_FALSE(rowHasText[bottom - 1]);
    EXPECT_EQ(label->Font->pixelSize(), CKompLabel::MakeFont(16).pixelSize()); // kept
}

TEST_F(LabelTest, CursorAppendsAnUnderscore)
{
    CKompLabel* label = MakeLabel(0, 0, Edges(10, 5, 110, 35));
    label->Text = QStringLiteral("A");
    label->Repaint();
    const QImage without = target->copy();
    label->Cursor = true;
    label->Repaint();
    EXPECT_NE(without, *target);
}

TEST_F(LabelTest, ARuledOutChoiceIsDeafAndItsTextDimAndAChoiceAgainIsBlack)
{
    CKompLabel* label = MakeLabel(2, 0, Edges(10, 5, 110, 35));
    label->Text = QStringLiteral("KOT");
    // Whether the text shows pixels of exactly this colour (a glyph's core).
    auto drawnIn = [&](QRgb colour) {
        label->Recompose = true;
        label->Repaint();
        for (int y = 5; y < 35; ++y)
            for (int x = 10; x < 110; ++x)
                if (At(label->X + x, label->Y + y) == colour)
                    return true;
        return false;
    };
    const QRgb black = qRgb(0, 0, 0);
    const QRgb dim = qRgb(qRed(CKompLabel::DimTextRgb), qGreen(CKompLabel::DimTextRgb),
                          qBlue(CKompLabel::DimTextRgb));
    EXPECT_TRUE(drawnIn(black));

    label->SetRuledOut(true);
    EXPECT_FALSE(label->Reactive);
    EXPECT_EQ(label->State, 1);
    EXPECT_TRUE(drawnIn(dim));
    EXPECT_FALSE(drawnIn(black));

    label->SetRuledOut(false);
    EXPECT_TRUE(label->Reactive);
    EXPECT_EQ(label->State, 0);
    EXPECT_TRUE(drawnIn(black));
}

TEST_F(LabelTest, MouseStatesFollowTheTable)
{
    CKompLabel* label = MakeLabel(2, 1, Edges(0, 0, 0, 0));
    int clicks = 0;
    label->OnClick = [&](CKompLabel*) { ++clicks; };
    label->Repaint();
    const QPoint in(10, 10);
    EXPECT_EQ(Shown(*label, 2, 2), NormalColour);

    QTest::mouseMove(label, in); // enters: 0 becomes highlighted
    EXPECT_EQ(label->State, 2);
    EXPECT_EQ(Shown(*label, 2, 2), HighlightColour);
    QTest::mousePress(label, Qt::LeftButton, {}, in);
    EXPECT_EQ(label->State, 1);
    EXPECT_EQ(Shown(*label, 2, 2), PressedColour);
    QTest::mouseRelease(label, Qt::LeftButton, {}, in);
    EXPECT_EQ(label->State, 2);
    EXPECT_EQ(clicks, 1);
    QTest::mouseMove(host.get(), QPoint(390, 290)); // leaves: 2 becomes 0
    EXPECT_EQ(label->State, 0);
    EXPECT_EQ(Shown(*label, 2, 2), NormalColour);

    // A release over a highlighted label returns it to normal.
    label->SetLook(true, 2);
    QTest::mouseRelease(label, Qt::LeftButton, {}, in);
    EXPECT_EQ(label->State, 0);
    // Entering a label that is not normal makes it pressed; leaving it then
    // leaves it highlighted.
    label->SetLook(true, 2);
    QTest::mouseMove(label, in);
    EXPECT_EQ(label->State, 1);
    QTest::mouseMove(host.get(), QPoint(390, 290));
    EXPECT_EQ(label->State, 2);

    // A double click counts as a press, and its release is no click.
    clicks = 0;
    QTest::mouseClick(label, Qt::LeftButton, {}, in);
    label->SetLook(true, 0);
    QTest::mouseDClick(label, Qt::LeftButton, {}, in);
    EXPECT_EQ(label->State, 1);
    QTest::mouseRelease(label, Qt::LeftButton, {}, in);
    EXPECT_EQ(clicks, 1); // the first of the two clicks only

    // Disabling resets the state without repainting; a disabled label is deaf.
    label->SetLook(true, 1);
    label->setEnabled(false);
    EXPECT_EQ(label->State, 0);
    QTest::mousePress(label, Qt::LeftButton, {}, in);
    EXPECT_EQ(label->State, 0);
    label->setEnabled(true);

    // Not reactive: the state stays as the exercise set it.
    label->SetLook(false, 2);
    QTest::mousePress(label, Qt::LeftButton, {}, in);
    QTest::mouseRelease(label, Qt::LeftButton, {}, in);
    EXPECT_EQ(label->State, 2);
}

TEST_F(LabelTest, WithoutPressedImageEveryStateButNormalIsHighlighted)
{
    CKompLabel* label = MakeLabel(2, 1, Edges(0, 0, 0, 0));
    label->DropPressedImage();
    EXPECT_EQ(label->PressedImage.Image(), nullptr);
    const QPoint in(10, 10);
    QTest::mousePress(label, Qt::LeftButton, {}, in);
    EXPECT_EQ(label->State, 1);
    EXPECT_EQ(Shown(*label, 2, 2), HighlightColour);
    QTest::mouseRelease(label, Qt::LeftButton, {}, in);
    EXPECT_EQ(Shown(*label, 2, 2), HighlightColour);
    label->SetState(2, false);
    QTest::mouseMove(host.get(), QPoint(390, 290));
    QTest::mouseMove(label, in);
    QTest::mouseMove(host.get(), QPoint(390, 290)); // leaving always gives normal
    EXPECT_EQ(label->State, 0);
    EXPECT_EQ(Shown(*label, 2, 2), NormalColour);
}

TEST_F(LabelTest, StaticLabelsIgnoreTheMouseAndMovesRecompose)
{
    CKompLabel* label = MakeLabel(0, 1, Edges(0, 0, 0, 0));
    label->Repaint();
    QTest::mouseMove(label, QPoint(5, 5));
    QTest::mousePress(label, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(label->State, 0);

    // Kind 3 follows the mouse with its single look.
    label->Kind = 3;
    QTest::mouseRelease(label, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(label->State, 2);
    EXPECT_EQ(Shown(*label, 2, 2), NormalColour);

    const QPoint before = label->pos();
    label->Recompose = false;
    label->MoveTo(label->X, label->Y);
    EXPECT_FALSE(label->Recompose);
    label->MoveToY(label->Y + 30);
    EXPECT_TRUE(label->Recompose);
    EXPECT_EQ(label->pos(), before + QPoint(0, 30));
    label->MoveTo(label->X + 10, label->Y);
    EXPECT_EQ(label->pos(), before + QPoint(10, 30));

    // Nothing is drawn while the label is hidden.
    label->hide();
    target->fill(Qt::white);
    label->Repaint();
    EXPECT_EQ(At(label->X + 5, label->Y + 5), qRgb(255, 255, 255));
}

// ---------------------------------------------------------------- photo

class PhotoTest : public ControlsTest
{
protected:
    void SetUp() override
    {
        ControlsTest::SetUp();
        CBitmapsContainerWriter w;
        const auto bmp = CBitmapsContainerWriter::Encoding::Bmp;
        w.Set(0, Solid(80, 60, qRgb(250, 0, 0)), bmp); // twice the mask's size
        w.Set(1, Solid(PhotoMaskWidth, PhotoMaskHeight, qRgb(0, 250, 0)), bmp);
        w.Set(2, Solid(PhotoMaskWidth, PhotoMaskHeight, qRgb(250, 250, 0)),
              CBitmapsContainerWriter::Encoding::Jpeg);
        ASSERT_TRUE(w.Save(dir.file("photos.bb")));
        ASSERT_EQ(archive.Open(dir.file("photos.bb"), false), CBitmapsContainer::BC_OK);

        table.Container = &container;
        table.Add(PT_PLACE, 0);
        table.SetPlace(DM_1024, 100, 50, 0, 0, -1);
        table.Add(PT_POINT, 0);
        table.SetPoint(DM_1024, 5, 4, -1);
        table.Add(PT_BITMAP | PT_TRANSBITMAP, 0);
        table.SetBitmap(DM_1024, FrameImage, -1, FrameMask);
        table.Add(PT_BITMAP, 0);
        table.SetBitmap(DM_1024, -1, -1, PhotoMask);
        table.Add(PT_BITMAP, 0); // a picture of the skins
        table.SetBitmap(DM_1024, LabelPressed, -1, -1);
        table.Set_iCurrent(1);
        photo = new CKompPhoto(host.get(), nullptr, target.get());
        photo->Place(table, 3, 2);
        photo->show();
    }

    // The picture's own pixel at a point of the mask, as drawn on the target.
    QRgb PictureAt(int x, int y) const
    {
        return At(photo->X + photo->PhotoX + x, photo->Y + photo->PhotoY + y);
    }

    CBitmapsContainer archive;
    CDynamicPlace table;
    CKompPhoto* photo = nullptr;
};

TEST_F(PhotoTest, PlaceTakesFrameOffsetAndMask)
{
    EXPECT_EQ(photo->geometry(), QRect(103, 52, FrameWidth, FrameHeight));
    EXPECT_EQ(photo->PhotoX, 5);
    EXPECT_EQ(photo->PhotoY, 4);
    ASSERT_TRUE(photo->Mask);
    EXPECT_EQ(photo->Mask->size(), QSize(PhotoMaskWidth, PhotoMaskHeight));
    EXPECT_EQ(photo->PhotoIndex, -1);
    EXPECT_EQ(table.Get_iCurrent(), 5); // past the mask entry
}

TEST_F(PhotoTest, SetPhotoInsideAndOutsideTheArchive)
{
    // Without an archive there is no picture.
    photo->SetPhoto(0);
    EXPECT_EQ(photo->PhotoIndex, -1);
    EXPECT_EQ(photo->Photo->height(), 0);

    photo->Archive = &archive;
    photo->SetPhoto(0); // 80 x 60, stretched to the mask
    EXPECT_EQ(photo->PhotoIndex, 0);
    EXPECT_EQ(photo->Photo->size(), photo->Mask->size());
    EXPECT_EQ(photo->Photo->pixel(10, 10) | 0xff000000u, qRgb(250, 0, 0));

    for (int outside : {3, 100, -1, -7}) {
        photo->SetPhoto(1);
        photo->SetPhoto(outside);
        EXPECT_EQ(photo->PhotoIndex, -1) << outside;
        EXPECT_EQ(photo->Photo->height(), 0) << outside;
    }
    photo->Repaint(); // only the frame
    EXPECT_EQ(PictureAt(2, 2), FrameColour);
}

TEST_F(PhotoTest, TheSameIndexLoadsOnlyOnce)
{
    photo->Archive = &archive;
    photo->SetPhoto(1);
    photo->Photo->fill(Qt::black); // marks the loaded picture
    photo->SetPhoto(1);
    EXPECT_EQ(photo->Photo->pixel(0, 0) | 0xff000000u, qRgb(0, 0, 0));
    photo->SetPhoto(2);
    photo->SetPhoto(1);
    EXPECT_EQ(photo->Photo->pixel(0, 0) | 0xff000000u, qRgb(0, 250, 0));
}

TEST_F(PhotoTest, DrawsThePictureThroughTheMaskOverTheFrame)
{
    photo->Archive = &archive;
    photo->SetPhoto(1);
    photo->Repaint();
    EXPECT_EQ(At(photo->X + 1, photo->Y + 1), FrameColour);
    EXPECT_EQ(PictureAt(2, 2), qRgb(0, 250, 0));              // mask set
    EXPECT_EQ(PictureAt(PhotoMaskWidth - 2, 2), FrameColour); // mask clear
    EXPECT_EQ(Shown(*photo, 5 + 2, 4 + 2), qRgb(0, 250, 0));

    // In the grey mode the picture is grey, reloaded with the new skins.
    ColorMode = CM_MONO;
    table.Set_iCurrent(1);
    photo->LoadImages(table);
    EXPECT_EQ(photo->PhotoIndex, 1);
    photo->Repaint();
    const QRgb grey = PictureAt(2, 2);
    EXPECT_EQ(qRed(grey), qGreen(grey));
    EXPECT_EQ(qGreen(grey), qBlue(grey));
    EXPECT_EQ(qGreen(grey), (59 * 250 + 50) / 100);
}

TEST_F(PhotoTest, PictureFromPlaceTakesTheMaskToItsSize)
{
    photo->Archive = &archive;
    photo->SetPhoto(1);
    table.Set_iCurrent(5);
    photo->SetPictureFromPlace(table);
    EXPECT_EQ(photo->PhotoIndex, -1);
    EXPECT_EQ(photo->Photo->size(), QSize(LabelWidth, LabelHeight));
    EXPECT_EQ(photo->Mask->size(), photo->Photo->size());
    // The mask keeps its shape; the new area is clear.
    EXPECT_EQ(photo->Mask->constScanLine(1)[1], 255);
    EXPECT_EQ(photo->Mask->constScanLine(5)[PhotoMaskWidth + 5], 0);
    photo->Repaint();
    EXPECT_EQ(PictureAt(2, 2), PressedColour);
    // SetPhoto of the former index loads it again.
    photo->SetPhoto(1);
    EXPECT_EQ(photo->PhotoIndex, 1);
}

namespace {

// An own word's picture comes from the own material at the layout's size;
// an own index without a store, or without a picture, shows none.
TEST_F(PhotoTest, OwnWordsPicturesComeFromTheOwnMaterial)
{
    TempDir ownDir;
    COwnMaterial own(ownDir.path());
    ASSERT_TRUE(own.Open());
    COwnWord word;
    word.Nazwa = "BUREK";
    COwnMaterial::SMedia media;
    media.Large = QImage(616, 462, QImage::Format_RGB888);
    media.Large.fill(QColor(0, 0, 250));
    media.Small = QImage(490, 368, QImage::Format_RGB888);
    media.Small.fill(QColor(250, 0, 250));
    media.Voice = MakeWave(22050, 1, 16, 2000);
    ASSERT_TRUE(own.Save(word, media));
    const int index = CWords::OwnPictureBase + word.Id;

    photo->Archive = &archive;
    photo->SetPhoto(index);
    EXPECT_EQ(photo->PhotoIndex, -1); // no own material given
    photo->OwnArchive = &own;
    for (const bool large : {true, false}) {
        photo->SetPhoto(1);
        photo->OwnLarge = large;
        photo->SetPhoto(index);
        EXPECT_EQ(photo->PhotoIndex, index);
        EXPECT_EQ(photo->Photo->size(), photo->Mask->size());
        const QColor c(photo->Photo->pixel(5, 5));
        EXPECT_GT(c.blue(), 200);
        EXPECT_EQ(c.red() > 200, !large);
    }
    photo->SetPhoto(index + 1); // no such own word
    EXPECT_EQ(photo->PhotoIndex, -1);
}

} // namespace

// On a screen that shows the design twice as large (run as a child with Qt
// scaling by 2) a label's text is drawn at the screen's resolution: it matches
// the same text drawn directly at twice the size, instead of the soft edges
// of design-size glyphs magnified. Text drawn over since leaves the bitmap as
// it is on the screen.
class SharpLabelTest : public LabelTest
{
protected:
    // The label's look with its text drawn straight at the screen's
    // resolution, as the label lays it out in design pixels.
    static QImage DrawnAtScreenResolution(const CKompLabel& label, double dpr)
    {
        QImage image(label.size() * dpr, QImage::Format_RGB32);
        image.setDevicePixelRatio(dpr);
        image.fill(QColor::fromRgb(NormalColour));
        QPainter p(&image);
        const QRect rect(label.TextRect.Left, label.TextRect.Top,
                         label.TextRect.Right - label.TextRect.Left,
                         label.TextRect.Bottom - label.TextRect.Top);
        p.setClipRect(rect);
        p.setFont(*label.Font);
        p.setPen(Qt::black);
        if (label.WordWrap)
            p.drawText(rect, Qt::AlignTop | Qt::AlignHCenter | Qt::TextWordWrap, label.Text);
        else
            p.drawText(
                QRect(label.TextX, rect.top(), rect.right() + 1 - label.TextX, rect.height()),
                Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine | Qt::TextDontClip, label.Text);
        return image;
    }

    // The share of the screen pixels of the label's text rectangle whose red
    // differs from the reference by more than a faint edge would.
    static double Differing(const CKompLabel& label, const QImage& shown, const QImage& reference)
    {
        const double dpr = reference.devicePixelRatio();
        const QRect rect(QPoint(label.TextRect.Left * dpr, label.TextRect.Top * dpr),
                         QPoint(label.TextRect.Right * dpr - 1, label.TextRect.Bottom * dpr - 1));
        int differing = 0;
        for (int y = rect.top(); y <= rect.bottom(); ++y)
            for (int x = rect.left(); x <= rect.right(); ++x)
                differing += std::abs(qRed(shown.pixel(x, y)) - qRed(reference.pixel(x, y))) > 48;
        return static_cast<double>(differing) / (rect.width() * rect.height());
    }
};

TEST_F(SharpLabelTest, TextIsDrawnAtTheScreensResolution)
{
    SKIP_UNLESS_CHILD();
    ASSERT_EQ(host->devicePixelRatioF(), 2.0);
    struct Case
    {
        int textFlags;
        QString text;
    };
    for (const Case& c :
         {Case{1, QStringLiteral("ŻÓŁW")}, Case{3, QStringLiteral("ALA MA KOTA")}}) {
        SCOPED_TRACE(c.text.toStdString());
        CKompLabel* label = MakeLabel(0, c.textFlags, Edges(4, 2, LabelWidth - 4, LabelHeight - 2));
        label->Text = c.text;
        label->AlignText();
        label->Repaint();
        const QImage shown = label->grab().toImage();
        ASSERT_EQ(shown.size(), label->size() * 2);
        const QImage reference = DrawnAtScreenResolution(*label, 2.0);
        EXPECT_LT(Differing(*label, shown, reference), 0.01);

        // Drawn over in the bitmap: the screen shows what the bitmap holds.
        target->fill(QColor::fromRgb(HighlightColour));
        label->repaint();
        const QImage over = label->grab().toImage();
        for (int y = 0; y < over.height(); y += 3)
            for (int x = 0; x < over.width(); x += 3)
                ASSERT_EQ(over.pixel(x, y) | 0xff000000u, HighlightColour) << x << "," << y;
        delete label;
        target->fill(Qt::white);
    }
}

TEST(SharpLabel, TextOnAScreenTwiceTheDesign)
{
    QProcessEnvironment env;
    env.insert("QT_SCALE_FACTOR", "2");
    QString output;
    EXPECT_TRUE(RunChildTest("SharpLabelTest.TextIsDrawnAtTheScreensResolution", env, &output))
        << output.toStdString();
}
