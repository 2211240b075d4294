#include "mainwindow/CMainPage.h"

#include <QFrame>
#include <QLabel>

CMainPage::CMainPage(QWidget* parent, const char* name, const QString& title, const char* titleName,
                     const char* ruleName)
    : QWidget(parent)
{
    setObjectName(QLatin1String(name));
    if (!titleName)
        return;
    m_title = new QLabel(title, this);
    m_title->setObjectName(QLatin1String(titleName));
    QFont f(QStringLiteral("Arial"));
    f.setPixelSize(35);
    f.setBold(true);
    m_title->setFont(f);
    m_rule = new QFrame(this);
    m_rule->setObjectName(QLatin1String(ruleName));
    m_rule->setGeometry(16, 48, 537, 3);
    // A black diagonal-cross line: a pattern brush rather than a plain line.
    m_rule->setAutoFillBackground(true);
    QPalette p = m_rule->palette();
    p.setBrush(QPalette::Window, QBrush(Qt::black, Qt::DiagCrossPattern));
    m_rule->setPalette(p);
}

void CMainPage::PlaceTitle(int top, int fontHeight, int ruleTop, int ruleWidth, unsigned colour)
{
    if (!m_title)
        return;
    QFont f = m_title->font();
    f.setPixelSize(fontHeight);
    m_title->setFont(f);
    QPalette p = m_title->palette();
    p.setColor(QPalette::WindowText,
               QColor(colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF));
    m_title->setPalette(p);
    m_title->adjustSize();
    const int centre = width() / 2;
    m_title->move(centre - m_title->width() / 2, top);
    m_rule->setGeometry(centre - ruleWidth / 2, ruleTop, ruleWidth, 3);
}

void CMainPage::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    Arrange();
}
