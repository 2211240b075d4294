#include "mainwindow/BookmarkLayout.h"

#include "app/DisplayMode.h"
#include "graphics/CDynamicPlace.h"

namespace {

constexpr int BookmarkCount = 13;
constexpr int ExerciseCount = 11;
constexpr int StripWidth1280 = 260;

// Top and bottom edges of the exercise bookmarks (1280 x 960, paint box
// coordinates); each bookmark ends where the next one begins.
constexpr int ExerciseEdges[ExerciseCount + 1] = {157, 222, 283, 341, 395, 452,
                                                  510, 565, 623, 678, 734, 788};
constexpr int SquareY1280[ExerciseCount] = {177, 238, 298, 353, 410, 466, 521, 576, 636, 691, 746};
constexpr int SquareY1024[ExerciseCount] = {142, 192, 239, 283, 329, 374, 418, 462, 510, 554, 599};

void AddArea(CDynamicPlace& layout, bool hasSquare, int left, int top, int bottom)
{
    layout.Add(PT_RECT, hasSquare ? 1 : 0);
    layout.SetRect(DM_1280, left, top, StripWidth1280, bottom, -1);
}

} // namespace

int AddBookmarkLayout(CDynamicPlace& layout)
{
    layout.Add(PT_PLACE | PF_CENTERED, BookmarkCount);
    const int first = layout.Get_iCurrent();
    layout.SetPlace(DM_1280, 28, 92, 260, 796, -1);
    layout.SetPlace(DM_1024, 21, 73, 210, 638, -1);

    layout.Add(PT_BITMAP, 0); // no bookmark raised
    layout.SetBitmap(DM_1280, 20, -1, -1);
    layout.SetBitmap(DM_1024, 6, -1, -1);
    for (int i = 0; i < BookmarkCount; ++i) {
        layout.Add(PT_BITMAP, 0);
        layout.SetBitmap(DM_1280, 21 + i, -1, -1);
        layout.SetBitmap(DM_1024, 7 + i, -1, -1);
    }
    layout.Add(PT_BITMAP | PT_TRANSBITMAP, 0); // the tick
    layout.SetBitmap(DM_1280, 2, -1, 3);
    layout.SetBitmap(DM_1024, 0, -1, 1);

    AddArea(layout, false, 0, 3, 81);    // patients
    AddArea(layout, false, 18, 81, 153); // statistics
    for (int i = 0; i < ExerciseCount; ++i)
        AddArea(layout, true, 18, ExerciseEdges[i], ExerciseEdges[i + 1]);

    for (int i = 0; i < ExerciseCount; ++i) {
        // The square of UK sits two pixels (one at 1024) further right.
        layout.Add(PT_POINT, 0);
        layout.SetPoint(DM_1280, i == 1 ? 56 : 54, SquareY1280[i], -1);
        layout.SetPoint(DM_1024, i == 1 ? 45 : 44, SquareY1024[i], -1);
    }
    return first;
}
