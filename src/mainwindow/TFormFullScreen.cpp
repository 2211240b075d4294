#include "mainwindow/TFormFullScreen.h"

#include "app/DisplayMode.h"
#include "app/ScreenPainter.h"
#include "graphics/CTransButton.h"

#include <QAction>
#include <QPainter>

namespace {
constexpr int CloseImages[3][2] = {{48, 49}, {50, 51}, {52, 53}}; // (colour, mask)
constexpr int AllModes[] = {DM_800, DM_1024, DM_1280};
} // namespace

TFormFullScreen::TFormFullScreen(const char* name, const SSkin& skin, CBitmapsContainer* windows,
                                 CBitmapsContainer* buttons)
    : QDialog(nullptr, Qt::Dialog | Qt::FramelessWindowHint), m_windows(windows), m_buttons(buttons)
{
    setObjectName(QLatin1String(name));
    setAttribute(Qt::WA_OpaquePaintEvent); // the background covers the window
    BuildLayout(skin);
    setGeometry(0, 0, ScreenWidth, ScreenHeight);

    m_actZamknij = new QAction(this);
    m_actZamknij->setObjectName(QStringLiteral("actZamknij"));
    connect(m_actZamknij, &QAction::triggered, this, &QDialog::close);
    m_btZamknij = new CTransButton(this, 0, m_actZamknij, &m_backgroundPtr);
    m_btZamknij->setObjectName(QStringLiteral("tbZamknij"));
}

TFormFullScreen::~TFormFullScreen() = default;

void TFormFullScreen::BuildLayout(const SSkin& skin)
{
    if (!skin.textBlock1280.isEmpty()) {
        m_layout.Add(PT_PLACE | PF_CENTERED, 0);
        m_textBlockEntry = m_layout.Get_iCurrent();
        const QRect& r = skin.textBlock1280;
        m_layout.SetPlace(DM_1280, r.left(), r.top(), r.width(), r.height(), -1);
    }
    m_layout.Add(PT_POINT | PF_CENTERED, 0);
    m_closeEntry = m_layout.Get_iCurrent();
    m_layout.SetPoint(DM_1280, skin.close1280.x(), skin.close1280.y(), -1);
    m_layout.SetPoint(DM_1024, skin.close1024.x(), skin.close1024.y(), -1);
    for (const auto& state : CloseImages) {
        m_layout.Add(PT_BITMAP | PT_TRANSBITMAP, 0);
        for (int mode : AllModes)
            m_layout.SetBitmap(mode, state[0], -1, state[1]);
    }
    m_layout.Add(PT_BITMAP, 0);
    m_backgroundEntry = m_layout.Get_iCurrent();
    m_layout.SetBitmap(DM_1280, skin.background1280, -1, -1);
    m_layout.SetBitmap(DM_1024, skin.background1024, -1, -1);
}

CDynamicPlace& TFormFullScreen::TextBlock()
{
    m_layout.Set_iCurrent(m_textBlockEntry);
    return m_layout;
}

void TFormFullScreen::showEvent(QShowEvent* event)
{
    if (ColorMode != m_buttonColorMode) {
        m_layout.Container = m_buttons;
        m_layout.Set_iCurrent(m_closeEntry);
        m_btZamknij->PlaceFromTable(m_layout);
        m_buttonColorMode = ColorMode;
    }
    m_layout.Container = m_windows;
    m_layout.Set_iCurrent(m_backgroundEntry);
    m_background = m_layout.GetBackground();
    m_backgroundPtr = m_background.get();
    m_btZamknij->Refresh();
    QDialog::showEvent(event);
    raise();
    activateWindow();
}

void TFormFullScreen::hideEvent(QHideEvent* event)
{
    m_backgroundPtr = nullptr;
    m_background.reset();
    QDialog::hideEvent(event);
}

void TFormFullScreen::paintEvent(QPaintEvent*)
{
    ScreenPainter p(this);
    if (m_background)
        p.drawImage(0, 0, *m_background);
    else
        p.fillRect(rect(), Qt::black);
}
