// The exercise box and its drop-down menu, on the therapy window's table.
#include "app/DisplayMode.h"
#include "graphics/CBitmapsContainer.h"
#include "graphics/CDynamicPlace.h"
#include "therapy/CGraphicsMenu.h"
#include "therapy/CKompGrComboBox.h"
#include "therapy/CTherapyPlaces.h"
#include "therapy/TherapyFixture.h"

#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>
#include <vector>

namespace {

struct SChange
{
    int item, row;
};

class GraphicsMenuTest : public ::testing::Test
{
protected:
    // Before any table exists, so that none asks for the display mode.
    static void SetUpTestSuite() { SetDisplayModeFor(1280, 1024); }

    void SetUp() override
    {
        SetDisplayModeFor(1280, 1024);
        ColorMode = CM_COLOR;
        ASSERT_TRUE(therapy_fixture::WriteSkins(dir.file("cextb.bc")));
        ASSERT_EQ(container.Open(dir.file("cextb.bc"), false), 0);
        table.Container = &container;
        CTherapyPlaces::FillGraphicsMenu(table);
        owner.resize(1280, 1024);
        menuBitmap = QImage(1280, 89, QImage::Format_BGR888);
        menuBitmap.fill(Qt::darkGray);
        bitmapPtr = &menuBitmap;
        box = new CKompGrComboBox(&owner, &bitmapPtr);
        box->BackY = OffsetY;
        box->PlaceFromTable(table);
        box->OnChange = [this](int item, int row, int, int) { changes.push_back({item, row}); };
        owner.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&owner));
    }

    // A therapy of `order`, first row selected, as the therapy window starts it.
    void StartWith(std::initializer_list<int> order)
    {
        MyArray<int> list;
        for (int i : order)
            list.Add(i);
        box->Menu().ShowItems(list);
        box->Refresh();
        box->SetSelected(0);
    }

    void OpenMenu()
    {
        QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(20, 20));
        ASSERT_TRUE(box->Menu().isVisible());
    }
    QPoint RowPoint(int row) const
    {
        const CGraphicsMenu& m = box->Menu();
        return QPoint(50, m.ItemsArea().top() + row * m.ItemHeight() + m.ItemHeight() / 2);
    }

    TempDir dir;
    CBitmapsContainer container;
    CDynamicPlace table;
    QWidget owner;
    QImage menuBitmap;
    QImage* bitmapPtr = nullptr;
    CKompGrComboBox* box = nullptr;
    std::vector<SChange> changes;
};

TEST_F(GraphicsMenuTest, TakesItsPlaceAndImagesFromTheTable)
{
    // 1024 values scaled by 10/8, centring offset added.
    EXPECT_EQ(box->geometry(), QRect(462, 18 + OffsetY, 362, 60));
    EXPECT_EQ(box->DropOffset(), 60);
    EXPECT_EQ(box->Menu().ItemCount(), 11);
    EXPECT_EQ(box->Menu().ItemHeight(), 37);
    EXPECT_EQ(box->Menu().Shown().Count(), 11);
    EXPECT_EQ(box->GetSelected(), -1);
}

TEST_F(GraphicsMenuTest, MenuListsTheTherapyOrderAndReleaseSelects)
{
    StartWith({2, 0, 5});
    OpenMenu();
    CGraphicsMenu& menu = box->Menu();
    EXPECT_EQ(menu.height(), 20 + 3 * 37 + 20);
    EXPECT_EQ(menu.pos(), QPoint(box->x(), box->y() + 60));

    QTest::mouseMove(&menu, RowPoint(1));
    EXPECT_EQ(menu.HotItem(), 0);
    EXPECT_EQ(menu.HotRow(), 1);
    QTest::mouseRelease(&menu, Qt::LeftButton, {}, RowPoint(1));
    EXPECT_FALSE(menu.isVisible());
    ASSERT_EQ(changes.size(), 1u);
    EXPECT_EQ(changes[0].item, 0);
    EXPECT_EQ(changes[0].row, 1);
    EXPECT_EQ(box->GetSelected(), 1);
}

TEST_F(GraphicsMenuTest, PressFreezesTheHighlight)
{
    StartWith({2, 0, 5});
    OpenMenu();
    CGraphicsMenu& menu = box->Menu();
    QTest::mouseMove(&menu, RowPoint(2));
    QTest::mousePress(&menu, Qt::LeftButton, {}, RowPoint(2));
    QTest::mouseMove(&menu, RowPoint(1));
    EXPECT_EQ(menu.HotRow(), 2);
    QTest::mouseRelease(&menu, Qt::LeftButton, {}, RowPoint(1));
    ASSERT_EQ(changes.size(), 1u);
    EXPECT_EQ(changes[0].item, 5);
    EXPECT_EQ(box->GetSelected(), 2);
}

TEST_F(GraphicsMenuTest, ReleaseOutsideOrOnTheShownRowChangesNothing)
{
    StartWith({2, 0, 5});
    for (bool outside : {true, false}) {
        OpenMenu();
        CGraphicsMenu& menu = box->Menu();
        QTest::mouseMove(&menu, RowPoint(0));
        const QPoint release = outside ? QPoint(-200, -200) : RowPoint(0);
        QTest::mouseRelease(&menu, Qt::LeftButton, {}, release);
        EXPECT_FALSE(menu.isVisible());
        EXPECT_TRUE(changes.empty());
        EXPECT_EQ(box->GetSelected(), 0);
        // Released away from the box: the box shows its normal look.
        if (outside) {
            EXPECT_EQ(box->Look(), CKompGrComboBox::ELook::Normal);
        }
    }
}

TEST_F(GraphicsMenuTest, SetSelectedIgnoresRowsOutsideTheList)
{
    StartWith({2, 0, 5});
    box->SetSelected(box->GetSelected() - 1);
    EXPECT_EQ(box->GetSelected(), 0);
    box->SetSelected(3);
    EXPECT_EQ(box->GetSelected(), 0);
    box->SetSelected(2);
    EXPECT_EQ(box->GetSelected(), 2);
    EXPECT_TRUE(changes.empty());
}

TEST_F(GraphicsMenuTest, BoxShowsTheTitleOfTheSelectedExercise)
{
    StartWith({2, 0, 5});
    auto titleColour = [this]() {
        // Caption at (13, 9) scaled to 1280: (16, 11); a pixel inside it.
        return QColor(box->CurrentComposite()->pixel(16 + 20, 11 + 10));
    };
    const QImage title2 = therapy_fixture::SkinImage(QSize(1, 1), false, 84);
    EXPECT_EQ(titleColour(), QColor(title2.pixel(0, 0)));
    box->SetSelected(1);
    const QImage title0 = therapy_fixture::SkinImage(QSize(1, 1), false, 86);
    EXPECT_EQ(titleColour(), QColor(title0.pixel(0, 0)));
}

TEST_F(GraphicsMenuTest, DisabledBoxIsFadedAndNeverHot)
{
    StartWith({0});
    box->setEnabled(false);
    box->repaint();
    QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
    QApplication::sendEvent(box, &enter);
    EXPECT_NE(box->Look(), CKompGrComboBox::ELook::Hot);
    // Faded toward the background: not the normal image's own colour.
    const QColor normal(therapy_fixture::SkinImage(QSize(1, 1), false, 46).pixel(0, 0));
    EXPECT_NE(QColor(box->CurrentComposite()->pixel(2, 30)), normal);
}

} // namespace
