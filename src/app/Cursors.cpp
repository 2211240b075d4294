#include "app/Cursors.h"

#include <QGuiApplication>
#include <QHash>
#include <QPixmap>
#include <QScreen>

namespace {

// 32 x 32, large enough to follow on a 1280 x 960 screen.
const char* const LArrowXpm[] = {
    "32 32 3 1",
    "  c None",
    "# c #000000",
    ". c #FFFFFF",
    "                                ",
    " #                              ",
    " ##                             ",
    " #.#                            ",
    " #..#                           ",
    " #...#                          ",
    " #....#                         ",
    " #.....#                        ",
    " #......#                       ",
    " #.......#                      ",
    " #........#                     ",
    " #.........#                    ",
    " #..........#                   ",
    " #...........#                  ",
    " #............#                 ",
    " #.............#                ",
    " #..............#               ",
    " #.......########               ",
    " #...#...#                      ",
    " #..# #...#                     ",
    " #.#  #...#                     ",
    " ##    #...#                    ",
    " #     #...#                    ",
    "        #...#                   ",
    "        #...#                   ",
    "         #..#                   ",
    "         ####                   ",
    "                                ",
    "                                ",
    "                                ",
    "                                ",
    "                                ",
};

const char* const Hand1Xpm[] = {
    "32 32 3 1",
    "  c None",
    "# c #000000",
    ". c #FFFFFF",
    "          ####                  ",
    "         #....#                 ",
    "         #....#                 ",
    "         #....#                 ",
    "         #....#                 ",
    "         #....#                 ",
    "         #....#                 ",
    "         #....#                 ",
    "         #....####              ",
    "         #....#...#             ",
    "         #....#...####          ",
    "         #....#...#...#         ",
    "         #....#...#...####      ",
    "         #....#...#...#...#     ",
    "         #....#...#...#...#     ",
    "  ####   #.................#    ",
    "  #...#  #.................#    ",
    "  #....# #.................#    ",
    "  #.....#..................#    ",
    "   #.......................#    ",
    "    #......................#    ",
    "     #.....................#    ",
    "      #....................#    ",
    "       #..................#     ",
    "        #.................#     ",
    "         #...............#      ",
    "          #.............#       ",
    "          #.............#       ",
    "          #.............#       ",
    "          #.............#       ",
    "          ###############       ",
    "                                ",
};

QHash<int, QCursor>& Loaded()
{
    static QHash<int, QCursor> cursors;
    return cursors;
}

} // namespace

void Cursors::Load()
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    LoadScaled(screen ? screen->devicePixelRatio() : 1.0);
}

void Cursors::LoadScaled(double scale)
{
    // The window system shows a cursor's pixels as they are; where the design
    // is shown larger, the cursors grow with it.
    auto make = [scale](const char* const* xpm, int hotX, int hotY) {
        QPixmap pixmap(xpm);
        if (scale > 1.0) {
            const int side = qRound(pixmap.width() * scale);
            pixmap = pixmap.scaled(side, side, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
            hotX = static_cast<int>(hotX * scale);
            hotY = static_cast<int>(hotY * scale);
        }
        return QCursor(pixmap, hotX, hotY);
    };
    Loaded().insert(crLArrow, make(LArrowXpm, 1, 1));
    Loaded().insert(crHand1, make(Hand1Xpm, 11, 0));
}

void Cursors::Release()
{
    Loaded().clear();
}

QCursor Cursors::Get(int slot)
{
    return Loaded().value(slot, QCursor(Qt::ArrowCursor));
}
