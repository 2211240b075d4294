// Costs of the letter board on the screen: one step of a drag (restore of the
// uncovered strip from the buffer and the tile drawn, painted at once) and a
// whole redraw of the board into the exercise bitmap and onto the screen.
#include "controls/CKompTable.h"
#include "controls/CTableBlock.h"
#include "controls/CTableBox.h"

#include <QApplication>
#include <QMouseEvent>
#include <benchmark/benchmark.h>
#include <memory>
#include <vector>

namespace {

struct SBoard
{
    QWidget host;
    QImage target{1280, 871, QImage::Format_BGR888};
    std::vector<QImage> letters;
    CTable pool;
    CTableBox box;
    CKompTable* komp = nullptr;

    SBoard()
    {
        host.resize(1280, 871);
        target.fill(Qt::white);
        for (int i = 0; i < 12; ++i) {
            QImage img(62, 74, QImage::Format_BGR888);
            img.fill(QColor(20 * i, 100, 200 - 10 * i));
            letters.push_back(img);
        }
        komp = new CKompTable(&host, nullptr, &target);
        komp->setGeometry(100, 100, 1000, 500);
        komp->X = 100;
        komp->Y = 100;
        for (int i = 0; i < 6; ++i)
            box.AddSlot(std::make_unique<CTableBlock>(&letters[std::size_t(i)]));
        box.LayOutSlots(0, 1000, true, 10, 40);
        for (const QImage& img : letters)
            pool.Blocks.PushBack(new CTableBlock(&img));
        pool.LayOutRow(0, 1000, true, 12, 300);
        komp->SetTable(&pool);
        komp->SetBox(&box);
        host.show();
        komp->show();
        komp->Repaint();
    }

    void Mouse(QEvent::Type type, QPoint p)
    {
        QMouseEvent e(type, p, komp->mapToGlobal(p), Qt::LeftButton,
                      type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton,
                      Qt::NoModifier);
        QApplication::sendEvent(komp, &e);
    }
};

void BM_DragStep(benchmark::State& state)
{
    SBoard board;
    const CTableBlock* tile = board.pool.Blocks.First()->Value;
    const QPoint grab(tile->Left + 30, tile->Top + 30);
    board.Mouse(QEvent::MouseButtonPress, grab);
    int k = 0;
    for (auto _ : state) {
        board.Mouse(QEvent::MouseMove, grab + QPoint((k % 2) ? 7 : 0, (k % 2) ? -5 : 0));
        ++k;
    }
    // Back into the pool without the drop flight.
    board.pool.Add(board.komp->Dragged);
    board.komp->Dragged = nullptr;
}
BENCHMARK(BM_DragStep);

void BM_BoardRepaint(benchmark::State& state)
{
    SBoard board;
    for (auto _ : state)
        board.komp->Repaint();
}
BENCHMARK(BM_BoardRepaint);

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
