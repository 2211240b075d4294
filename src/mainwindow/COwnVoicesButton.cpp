#include "mainwindow/COwnVoicesButton.h"

#include "mainwindow/TFormOwnVoices.h"

COwnVoicesButton::COwnVoicesButton(QWidget* mainWindow)
    : CSkinTextButton(QStringLiteral("Własne\nnagrania"), mainWindow)
{
    setObjectName(QStringLiteral("btWlasneNagrania"));
    connect(this, &QPushButton::clicked, this, &COwnVoicesButton::Open);
}

void COwnVoicesButton::Place(const QRect& above, const QRect& below)
{
    const int gap = below.top() - above.bottom();
    const int height = std::min(above.height() * 3 / 4, gap * 3 / 4);
    setGeometry(above.left(), above.bottom() + (gap - height) / 2, above.width(), height);
    show();
    raise();
    update(); // the face of the colour mode now in force
}

void COwnVoicesButton::Open()
{
    TFormOwnVoices::ShowModal(window(), m_message);
}
