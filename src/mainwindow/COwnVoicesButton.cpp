#include "mainwindow/COwnVoicesButton.h"

#include "app/DisplayMode.h"
#include "mainwindow/TFormOwnVoices.h"
#include "mainwindow/VoiceWindowLook.h"

COwnVoicesButton::COwnVoicesButton(QWidget* mainWindow)
    : QPushButton(QStringLiteral("Własne\nnagrania"), mainWindow)
{
    setObjectName(QStringLiteral("btWlasneNagrania"));
    setFocusPolicy(Qt::NoFocus);
    setCursor(Qt::PointingHandCursor);
    connect(this, &QPushButton::clicked, this, &COwnVoicesButton::Open);
}

void COwnVoicesButton::Place(const QRect& above, const QRect& below)
{
    const int gap = below.top() - above.bottom();
    const int height = std::min(above.height() * 3 / 4, gap * 3 / 4);
    setGeometry(above.left(), above.bottom() + (gap - height) / 2, above.width(), height);
    setFont(VoiceWindowFont(std::max(12, above.width() / 7)));
    const bool grey = ColorMode == CM_MONO;
    setStyleSheet(QStringLiteral("QPushButton { color: %1; border: 2px solid %2; border-radius: "
                                 "10px; background: qlineargradient(x1:0, y1:0, x2:0, y2:1, "
                                 "stop:0 %3, stop:1 %4); }"
                                 "QPushButton:pressed { background: %4; }")
                      .arg(grey ? "#ffffff" : "#ffffff", grey ? "#3a3a3a" : "#1d3f73",
                           grey ? "#8c8c8c" : "#5b9be0", grey ? "#5e5e5e" : "#2c6ab8"));
    show();
    raise();
}

void COwnVoicesButton::Open()
{
    TFormOwnVoices::ShowModal(window(), m_message);
}
