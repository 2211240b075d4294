#include "statistics/TFormStat.h"

#include "app/DisplayMode.h"
#include "app/ScreenPainter.h"
#include "graphics/BitmapTools.h"
#include "graphics/CTransButton.h"
#include "graphics/DialogFrame.h"
#include "statistics/CStatistics.h"

#include <QAction>
#include <QKeyEvent>
#include <QLabel>
#include <QPainterPath>
#include <QRegion>

namespace {
constexpr int AllModes[] = {DM_800, DM_1024, DM_1280};
} // namespace

TFormStat::TFormStat(CBitmapsContainer* windows, CBitmapsContainer* buttons, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint), m_windows(windows), m_buttons(buttons)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFixedSize(ClientWidth, ClientHeight);
    QPainterPath outline;
    outline.addRoundedRect(QRectF(0, 0, ClientWidth, ClientHeight), 8, 8);
    setMask(QRegion(outline.toFillPolygon().toPolygon()));
    BuildLayout();

    BuildPlaces();
    m_places.Set_iCurrent(1);
    m_places.Container = m_windows;
    LoadSkin();
    m_places.Next();
    m_places.Container = m_buttons;
    m_nie = std::make_unique<CTransButton>(this, 0, actNie, &m_backPtr);
    m_nie->PlaceFromTable(m_places);
    m_tak = std::make_unique<CTransButton>(this, 0, actTak, &m_backPtr);
    m_tak->PlaceFromTable(m_places);
    m_nie->setObjectName(QStringLiteral("tbNie"));
    m_tak->setObjectName(QStringLiteral("tbTak"));
    Compose();
}

TFormStat::~TFormStat() = default;

QLabel* TFormStat::AddLabel(int left, int top, const QString& text, int fontHeight)
{
    auto* label = new QLabel(text, this);
    QFont font(QStringLiteral("Arial"));
    font.setBold(true);
    font.setPixelSize(fontHeight);
    label->setFont(font);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, Qt::black);
    label->setPalette(palette);
    label->setAttribute(Qt::WA_TranslucentBackground);
    label->move(left, top);
    label->adjustSize();
    return label;
}

void TFormStat::BuildLayout()
{
    AddLabel(88, 40, QStringLiteral("       Statystyka zbiorcza      "), 27);
    AddLabel(104, 85, QStringLiteral("Liczba zadań:"), 21);
    lbLZ = AddLabel(352, 85, QString(), 21);
    AddLabel(104, 109, QStringLiteral("Poprawność:"), 19);
    lbPoprawnosc = AddLabel(352, 109, QString(), 19);
    AddLabel(104, 144, QStringLiteral("Zadania rozwiązane:"), 21);
    lbRozw = AddLabel(352, 144, QString(), 21);
    AddLabel(136, 176, QStringLiteral("Bezbłędnie:"), 16);
    lbBezblednie = AddLabel(352, 176, QString(), 16);
    AddLabel(136, 200, QStringLiteral("Z błędami:"), 16);
    lbBlad = AddLabel(352, 200, QString(), 16);
    AddLabel(136, 224, QStringLiteral("Używana pomoc:"), 16);
    lbPomoc = AddLabel(352, 224, QString(), 16);
    AddLabel(104, 260, QStringLiteral("Zadania nierozwiązane:"), 21);
    lbNieRozw = AddLabel(352, 260, QString(), 21);
    AddLabel(104, 300, QStringLiteral("Czas wykonywania:"), 21);
    lbCzas = AddLabel(352, 300, QString(), 21);
    AddLabel(128, 376, QStringLiteral("Zakończyć terapię?"), 29);

    actTak = new QAction(QStringLiteral("Tak"), this);
    actNie = new QAction(QStringLiteral("Nie"), this);
    connect(actTak, &QAction::triggered, this, [this] { done(QDialog::Accepted); });
    connect(actNie, &QAction::triggered, this, [this] { done(QDialog::Rejected); });
}

void TFormStat::BuildPlaces()
{
    auto point = [this](int x, int y) {
        m_places.Add(PT_POINT, 0);
        for (int mode : AllModes)
            m_places.SetPoint(mode, x, y, -1);
    };
    auto bitmap = [this](int type, int colour, int mono, int mask) {
        m_places.Add(type, 0);
        for (int mode : AllModes)
            m_places.SetBitmap(mode, colour, mono, mask);
    };
    constexpr int Trans = PT_BITMAP | PT_TRANSBITMAP;
    bitmap(PT_BITMAP, 36, -1, -1);
    point(304, 428); // "Nie"
    bitmap(Trans, 60, -1, 61);
    bitmap(Trans, 62, -1, 63);
    bitmap(Trans, 64, -1, 65);
    point(152, 428); // "Tak"
    bitmap(Trans, 54, -1, 55);
    bitmap(Trans, 56, -1, 57);
    bitmap(Trans, 58, -1, 59);
}

void TFormStat::LoadSkin()
{
    m_skin = m_places.SuitableBitmap(m_places.CurrentDP(), false, 0, 0);
    if (m_skin)
        Make24(*m_skin);
}

QImage TFormStat::ComposeFrame(const QImage& skin, int w, int h)
{
    return DialogFrame::Build(skin, w, h);
}

void TFormStat::Compose()
{
    m_backBuffer = ComposeFrame(m_skin ? *m_skin : QImage(), width(), height());
    m_backPtr = &m_backBuffer;
    m_needsCompose = false;
    // The frame is kept composed; the skin's pixels are not needed until the
    // next reload.
    m_skin.reset();
    m_nie->Refresh();
    m_tak->Refresh();
}

void TFormStat::ReloadSkins()
{
    m_places.Container = m_windows;
    m_places.Set_iCurrent(1);
    LoadSkin();
    m_places.Next();
    m_needsCompose = true;
    m_places.Container = m_buttons;
    m_nie->PlaceFromTable(m_places);
    m_tak->PlaceFromTable(m_places);
}

void TFormStat::FillResults(const CStatistics& statistics)
{
    lbLZ->setText(QString::number(statistics.TotalLZ()));
    lbPoprawnosc->setText(QString::number(statistics.AverageCorrectness()) + "%");
    lbRozw->setText(QString::number(statistics.TotalRozw()));
    lbBezblednie->setText(QString::number(statistics.TotalFaultless()));
    lbBlad->setText(QString::number(statistics.TotalBlad()));
    lbPomoc->setText(QString::number(statistics.AveragePomoc()) + "%");
    lbNieRozw->setText(QString::number(statistics.TotalUnsolved()));
    const int s = statistics.TotalSeconds();
    lbCzas->setText(QString::number(s / 60) + "min " + QString::number(s % 60) + "s");
    for (QLabel* label :
         {lbLZ, lbPoprawnosc, lbRozw, lbBezblednie, lbBlad, lbPomoc, lbNieRozw, lbCzas})
        label->adjustSize();
}

bool TFormStat::ShowResults(const CStatistics& statistics)
{
    FillResults(statistics);
    return exec() == QDialog::Accepted;
}

void TFormStat::showEvent(QShowEvent* event)
{
    if (m_needsCompose)
        Compose();
    const int sw = ScreenWidth > 0 ? ScreenWidth : width();
    const int sh = ScreenHeight > 0 ? ScreenHeight : height();
    move(sw / 2 - width() / 2, sh / 2 - height() / 2);
    QDialog::showEvent(event);
}

void TFormStat::paintEvent(QPaintEvent*)
{
    ScreenPainter p(this);
    p.drawImage(0, 0, m_backBuffer);
}

void TFormStat::keyPressEvent(QKeyEvent* event)
{
    // Only "Tak" and "Nie" answer the question.
    if (event->key() == Qt::Key_Escape)
        return;
    QDialog::keyPressEvent(event);
}
