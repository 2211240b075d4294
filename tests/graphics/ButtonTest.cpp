#include "CBitmapsContainerWriter.h"
#include "FixedDisplay.h"
#include "app/DisplayMode.h"
#include "common/TempDir.h"
#include "graphics/BlendKernels.h"
#include "graphics/CBitmapsContainer.h"
#include "graphics/CDynamicPlace.h"
#include "graphics/CTransButton.h"

#include <QAction>
#include <QApplication>
#include <QTest>
#include <gtest/gtest.h>

namespace {

using Enc = CBitmapsContainerWriter::Encoding;
using EState = CTransButton::EState;

QImage Filled(int w, int h, QColor c)
{
    QImage img(w, h, QImage::Format_BGR888);
    img.fill(c);
    return img;
}

QImage Mask(int w, int h, int v)
{
    QImage m(w, h, QImage::Format_Grayscale8);
    m.fill(static_cast<uint>(v));
    return m;
}

class ButtonTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        SetDisplayModeFor(1280, 960);
        CBitmapsContainerWriter w;
        w.Set(1, Filled(40, 20, Qt::red), Enc::Bmp);
        w.Set(2, Filled(40, 20, Qt::green), Enc::Bmp);
        w.Set(3, Filled(40, 20, Qt::blue), Enc::Bmp);
        w.Set(4, Filled(30, 20, Qt::yellow), Enc::Bmp);
        w.Set(5, Mask(40, 20, 255), Enc::Bmp);
        w.Set(6, Mask(30, 20, 255), Enc::Bmp);
        ASSERT_TRUE(w.Save(dir.file("b.bc")));
        ASSERT_EQ(bc.Open(dir.file("b.bc"), false), 0);
        table.Container = &bc;
        AddButton(10, 10, 2);
        AddButton(100, 10, 4);
        background = Filled(200, 100, QColor(0, 0, 100));
        form.resize(200, 100);
    }
    void AddButton(int x, int y, int hoverIndex)
    {
        table.Add(PT_POINT, 0);
        table.SetPoint(DM_1280, x, y, -1);
        const int images[] = {1, hoverIndex, 3};
        for (int img : images) {
            table.Add(PT_BITMAP | PT_TRANSBITMAP, 0);
            table.SetBitmap(DM_1280, img, -1, img == 4 ? 6 : 5);
        }
    }
    CTransButton* MakeButton(int kind, int position = 1)
    {
        auto* b = new CTransButton(
            &form, kind, [this] { ++clicks; }, &bgVar);
        table.Set_iCurrent(position);
        b->PlaceFromTable(table);
        return b;
    }
    void ShowActive()
    {
        form.show();
        QApplication::setActiveWindow(&form);
        form.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
        ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    }
    static QColor Centre(const CTransButton* b)
    {
        const QImage* c = b->CurrentComposite();
        return c && !c->isNull() ? c->pixelColor(c->width() / 2, c->height() / 2) : QColor();
    }
    void Enter(CTransButton* b)
    {
        QEnterEvent e(QPointF(5, 5), QPointF(5, 5), b->mapToGlobal(QPointF(5, 5)));
        QApplication::sendEvent(b, &e);
    }
    void Leave(CTransButton* b)
    {
        QEvent e(QEvent::Leave);
        QApplication::sendEvent(b, &e);
    }

    SFixedDisplay fixedDisplay; // first: before any table
    TempDir dir;
    CBitmapsContainer bc;
    CDynamicPlace table;
    QWidget form;
    QImage background;
    QImage* bgVar = &background;
    int clicks = 0;
};

TEST_F(ButtonTest, PlacedFromTheTable)
{
    CTransButton* b = MakeButton(0);
    EXPECT_EQ(b->geometry(), QRect(10, 10, 40, 20));
    EXPECT_EQ(table.Get_iCurrent(), 5);
    ShowActive();
    EXPECT_EQ(b->State(), EState::Normal);
    EXPECT_EQ(Centre(b), QColor(Qt::red));
}

TEST_F(ButtonTest, StateTableWithTheMouse)
{
    CTransButton* b = MakeButton(0);
    ShowActive();
    Enter(b);
    EXPECT_EQ(b->State(), EState::Hover);
    EXPECT_EQ(Centre(b), QColor(Qt::green));
    QTest::mousePress(b, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(b->State(), EState::Pressed);
    EXPECT_EQ(Centre(b), QColor(Qt::blue));
    // Drag out: hover look; back in: pressed; release outside: no click.
    QMouseEvent out(QEvent::MouseMove, QPointF(60, 5), b->mapToGlobal(QPointF(60, 5)), Qt::NoButton,
                    Qt::LeftButton, {});
    QApplication::sendEvent(b, &out);
    EXPECT_EQ(b->State(), EState::Hover);
    QMouseEvent in(QEvent::MouseMove, QPointF(5, 5), b->mapToGlobal(QPointF(5, 5)), Qt::NoButton,
                   Qt::LeftButton, {});
    QApplication::sendEvent(b, &in);
    EXPECT_EQ(b->State(), EState::Pressed);
    QApplication::sendEvent(b, &out);
    QTest::mouseRelease(b, Qt::LeftButton, {}, QPoint(60, 5));
    EXPECT_EQ(clicks, 0);
    EXPECT_EQ(b->State(), EState::Normal);
    Leave(b);
    QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(clicks, 1);
}

TEST_F(ButtonTest, DisabledLookIgnoresClicksAndHover)
{
    CTransButton* b = MakeButton(0);
    ShowActive();
    b->SetEnabled(false, true);
    EXPECT_EQ(b->State(), EState::Disabled);
    // The normal image faded into the background at opacity 120.
    const int w = MaskWeight(255, 120);
    EXPECT_EQ(Centre(b), QColor(BlendChannel(0, 255, w), 0, BlendChannel(100, 0, w)));
    QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(5, 5));
    Enter(b);
    EXPECT_EQ(clicks, 0);
    EXPECT_EQ(b->State(), EState::Disabled);
    b->SetEnabled(true, true);
    EXPECT_EQ(b->State(), EState::Normal);
    QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(clicks, 1);
    // The platform's own disabled state counts too.
    b->setEnabled(false);
    EXPECT_EQ(b->State(), EState::Disabled);
    b->setEnabled(true);
    EXPECT_EQ(b->State(), EState::Normal);
}

TEST_F(ButtonTest, NoHoverWhenTheFormIsNotActive)
{
    CTransButton* b = MakeButton(0);
    ShowActive();
    QWidget other;
    other.show();
    QApplication::setActiveWindow(&other);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
    Enter(b);
    EXPECT_EQ(b->State(), EState::Normal);
}

TEST_F(ButtonTest, DoubleClickRuleOfKind)
{
    for (int kind : {0, 1}) {
        SCOPED_TRACE(kind);
        clicks = 0;
        CTransButton* b = MakeButton(kind);
        ShowActive();
        // The platform's sequence: press, release, press, double click, release.
        QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(5, 5));
        QTest::mousePress(b, Qt::LeftButton, {}, QPoint(5, 5));
        QTest::mouseDClick(b, Qt::LeftButton, {}, QPoint(5, 5));
        QTest::mouseRelease(b, Qt::LeftButton, {}, QPoint(5, 5));
        EXPECT_EQ(clicks, kind == 0 ? 1 : 2);
        // Also when the double click stands in for the second press.
        clicks = 0;
        QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(5, 5));
        QTest::mouseDClick(b, Qt::LeftButton, {}, QPoint(5, 5));
        QTest::mouseRelease(b, Qt::LeftButton, {}, QPoint(5, 5));
        EXPECT_EQ(clicks, kind == 0 ? 1 : 2);
        delete b;
    }
}

TEST_F(ButtonTest, EmptyBackgroundComposedOnceFilled)
{
    bgVar = nullptr;
    CTransButton* b = MakeButton(0);
    ShowActive();
    b->repaint();
    EXPECT_FALSE(Centre(b).isValid());
    bgVar = &background;
    b->repaint();
    EXPECT_EQ(Centre(b), QColor(Qt::red));
}

TEST_F(ButtonTest, HoverOfAnotherSizeIsDropped)
{
    CTransButton* b = MakeButton(0, 5);
    EXPECT_EQ(b->HoverBitmap().Image(), nullptr);
    ShowActive();
    Enter(b);
    EXPECT_EQ(b->State(), EState::Hover);
    EXPECT_FALSE(Centre(b).isValid());
}

TEST_F(ButtonTest, SolidColourAndParentPixels)
{
    // Half-transparent masks show what lies under the button.
    CBitmapsContainerWriter w;
    w.Set(1, Filled(10, 10, Qt::white), Enc::Bmp);
    w.Set(5, Mask(10, 10, 127), Enc::Bmp);
    ASSERT_TRUE(w.Save(dir.file("h.bc")));
    CBitmapsContainer half;
    ASSERT_EQ(half.Open(dir.file("h.bc"), false), 0);
    CDynamicPlace t;
    t.Container = &half;
    t.Add(PT_POINT, 0);
    t.SetPoint(DM_1280, 5, 5, -1);
    for (int i = 0; i < 3; ++i) {
        t.Add(PT_BITMAP | PT_TRANSBITMAP, 0);
        t.SetBitmap(DM_1280, 1, -1, 5);
    }
    auto* coloured = new CTransButton(&form, 0, nullptr, 0x000000ff, &form); // red
    t.Set_iCurrent(1);
    coloured->PlaceFromTable(t);
    form.setAutoFillBackground(true);
    QPalette pal = form.palette();
    pal.setColor(QPalette::Window, QColor(0, 0, 200));
    form.setPalette(pal);
    auto* overParent = new CTransButton(&form, 0, static_cast<QAction*>(nullptr), nullptr);
    t.Set_iCurrent(1);
    overParent->PlaceFromTable(t);
    overParent->move(50, 50);
    ShowActive();
    coloured->repaint();
    overParent->repaint();
    const int half128 = BlendChannel(0, 255, MaskWeight(127, 255));
    EXPECT_EQ(Centre(coloured), QColor(255, half128, half128));
    EXPECT_EQ(Centre(overParent), QColor(half128, half128, BlendChannel(200, 255, 128)));
}

TEST_F(ButtonTest, ActionIsTriggeredOnClick)
{
    QAction action;
    int triggered = 0;
    QObject::connect(&action, &QAction::triggered, [&] { ++triggered; });
    auto* b = new CTransButton(&form, 0, &action, &bgVar);
    table.Set_iCurrent(1);
    b->PlaceFromTable(table);
    ShowActive();
    QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(triggered, 1);
    b->MoveTo(60, 60, true);
    EXPECT_EQ(b->pos(), QPoint(60, 60));
    EXPECT_TRUE(b->isVisible());
}

} // namespace
