#include "mainwindow/TFormMessage.h"

#include "app/DisplayMode.h"
#include "app/ScreenPainter.h"
#include "graphics/BitmapTools.h"
#include "graphics/CTransButton.h"
#include "graphics/DialogFrame.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QPainter>
#include <QTimer>
#include <algorithm>

namespace {

constexpr int RowTops[TFormMessage::RowCount] = {44, 72, 100, 128};
constexpr int RowHeight = 27;
constexpr int RowFontPixels = 21;

// Compact layout: the lower rows get a font 3 points smaller, the first row
// moves up, the second down and the fourth up, so that four long lines fit.
constexpr int CompactPointsLess = 3;
constexpr int CompactRow1Up = 8;
constexpr int CompactRow2Down = 4;
constexpr int CompactRow4Up = 4;

struct SButtonSkin
{
    int x, y;
    int images[3][2]; // (colour, mask) of normal, hover, pressed
};
constexpr SButtonSkin NieSkin = {368, 172, {{60, 61}, {62, 63}, {64, 65}}};
constexpr SButtonSkin TakSkin = {192, 172, {{54, 55}, {56, 57}, {58, 59}}};
constexpr SButtonSkin OKSkin = {280, 172, {{66, 67}, {68, 69}, {70, 71}}};
constexpr int FrameSourceImage = 36;
constexpr int AllModes[] = {DM_800, DM_1024, DM_1280};

TFormMessage::ShowHook& ShowHookSlot()
{
    static TFormMessage::ShowHook hook;
    return hook;
}

TFormMessage::SoundFunction& SoundSlot()
{
    static TFormMessage::SoundFunction sound = [](int) { QApplication::beep(); };
    return sound;
}

// A font size of `pixels` at 96 dots per inch, made `points` points smaller.
int PixelsLessPoints(int pixels, int points)
{
    const int size = (pixels * 72 + 48) / 96 - points;
    return (size * 96 + 36) / 72;
}

} // namespace

TFormMessage::ShowHook TFormMessage::SetShowHook(ShowHook hook)
{
    return std::exchange(ShowHookSlot(), std::move(hook));
}

TFormMessage::SoundFunction TFormMessage::SetSoundFunction(SoundFunction sound)
{
    return std::exchange(SoundSlot(), std::move(sound));
}

TFormMessage::TFormMessage(CBitmapsContainer* windows, CBitmapsContainer* buttons)
    : QDialog(nullptr, Qt::Dialog | Qt::FramelessWindowHint), m_windows(windows), m_buttons(buttons)
{
    setObjectName(QStringLiteral("FormMessage"));
    setAttribute(Qt::WA_OpaquePaintEvent); // the frame covers the whole window
    setFixedSize(ClientWidth, ClientHeight);

    setMask(DialogFrame::Outline(size()));

    for (int i = 0; i < RowCount; ++i) {
        auto* row = new QLabel(this);
        row->setObjectName(QStringLiteral("lbRow%1").arg(i + 1));
        row->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
        row->setAttribute(Qt::WA_TranslucentBackground);
        QPalette palette = row->palette();
        palette.setColor(QPalette::WindowText, Qt::black);
        row->setPalette(palette);
        m_rows[i] = row;
    }
    SetCompact(false);

    BuildLayout();
    LoadFrameSource();
    m_btNie = new CTransButton(this, 0, AddAction("actNie", mrNo), &m_framePtr);
    m_btTak = new CTransButton(this, 0, AddAction("actTak", mrYes), &m_framePtr);
    m_btOK = new CTransButton(this, 0, AddAction("actOK", mrOk), &m_framePtr);
    m_btNie->setObjectName(QStringLiteral("tbNie"));
    m_btTak->setObjectName(QStringLiteral("tbTak"));
    m_btOK->setObjectName(QStringLiteral("tbOK"));
    PlaceButtons();
    RebuildFrame();
}

TFormMessage::~TFormMessage() = default;

QAction* TFormMessage::AddAction(const char* name, int result)
{
    auto* action = new QAction(this);
    action->setObjectName(QLatin1String(name));
    connect(action, &QAction::triggered, this, [this, result] { done(result); });
    return action;
}

void TFormMessage::BuildLayout()
{
    m_layout.Add(PT_BITMAP, 0);
    for (int mode : AllModes)
        m_layout.SetBitmap(mode, FrameSourceImage, -1, -1);
    for (const SButtonSkin& skin : {NieSkin, TakSkin, OKSkin}) {
        m_layout.Add(PT_POINT, 0);
        for (int mode : AllModes)
            m_layout.SetPoint(mode, skin.x, skin.y, -1);
        for (const auto& state : skin.images) {
            m_layout.Add(PT_BITMAP | PT_TRANSBITMAP, 0);
            for (int mode : AllModes)
                m_layout.SetBitmap(mode, state[0], -1, state[1]);
        }
    }
}

void TFormMessage::LoadFrameSource()
{
    m_layout.Container = m_windows;
    m_layout.Set_iCurrent(1);
    m_frameSource = m_layout.SuitableBitmap(m_layout.CurrentDP(), false, 0, 0);
    Make24(*m_frameSource);
    m_layout.Next();
}

void TFormMessage::PlaceButtons()
{
    m_layout.Container = m_buttons;
    m_layout.Set_iCurrent(2);
    for (CTransButton* button : {m_btNie, m_btTak, m_btOK})
        button->PlaceFromTable(m_layout);
}

void TFormMessage::ReloadSkins()
{
    LoadFrameSource();
    m_frameStale = true;
    PlaceButtons();
}

QImage TFormMessage::BuildFrame(const QImage& source, int width, int height)
{
    return DialogFrame::Build(source, width, height);
}

void TFormMessage::RebuildFrame()
{
    m_frame = BuildFrame(*m_frameSource, width(), height());
    m_framePtr = &m_frame;
    m_frameStale = false;
    for (CTransButton* button : {m_btNie, m_btTak, m_btOK})
        button->Refresh();
}

void TFormMessage::SetRows(const QString& row1, const QString& row2, const QString& row3,
                           const QString& row4)
{
    QString text[RowCount];
    if (row2.isEmpty() && row3.isEmpty() && row4.isEmpty()) {
        text[1] = row1; // a single line sits on the second line
    } else if (row3.isEmpty() && row4.isEmpty()) {
        text[1] = row1;
        text[2] = row2;
    } else {
        text[0] = row1;
        text[1] = row2;
        text[2] = row3;
        text[3] = row4;
    }
    for (int i = 0; i < RowCount; ++i)
        m_rows[i]->setText(text[i]);
}

void TFormMessage::SetCompact(bool compact)
{
    for (int i = 0; i < RowCount; ++i) {
        int top = RowTops[i];
        int pixels = RowFontPixels;
        if (compact) {
            if (i == 0)
                top -= CompactRow1Up;
            if (i == 1)
                top += CompactRow2Down;
            if (i == 3)
                top -= CompactRow4Up;
            if (i > 0)
                pixels = PixelsLessPoints(RowFontPixels, CompactPointsLess);
        }
        QFont font(QStringLiteral("Arial"));
        font.setBold(true);
        font.setPixelSize(pixels);
        m_rows[i]->setFont(font);
        m_rows[i]->setGeometry(0, top, ClientWidth, RowHeight);
    }
}

int TFormMessage::RunModal(bool compact)
{
    SetCompact(compact);
    const int result = exec();
    SetCompact(false);
    return result;
}

bool TFormMessage::Ask(const QString& row1, const QString& row2, const QString& row3,
                       const QString& row4, bool compact)
{
    m_kind = KindQuestion;
    SetRows(row1, row2, row3, row4);
    m_btTak->show();
    m_btNie->show();
    m_btOK->hide();
    return RunModal(compact) == mrYes;
}

void TFormMessage::Inform(int kind, const QString& row1, const QString& row2, const QString& row3,
                          const QString& row4, bool compact)
{
    m_kind = kind;
    SetRows(row1, row2, row3, row4);
    m_btTak->hide();
    m_btNie->hide();
    m_btOK->show();
    RunModal(compact);
}

void TFormMessage::showEvent(QShowEvent* event)
{
    if (m_frameStale)
        RebuildFrame();
    move(ScreenWidth / 2 - width() / 2, ScreenHeight / 2 - height() / 2);
    QDialog::showEvent(event);
    // The window comes up active (also without a window manager), with the
    // sound of its kind.
    raise();
    activateWindow();
    if (SoundSlot())
        SoundSlot()(m_kind);
    if (ShowHookSlot())
        QTimer::singleShot(0, this, [this] {
            if (isVisible() && ShowHookSlot())
                ShowHookSlot()(*this);
        });
}

void TFormMessage::paintEvent(QPaintEvent*)
{
    ScreenPainter p(this);
    p.drawImage(0, 0, m_frame);
}
