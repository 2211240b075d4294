#include "mainwindow/CStatisticsPage.h"

#include "app/DisplayMode.h"

#include <QHeaderView>
#include <QTreeWidget>

CStatisticsPage::CStatisticsPage(QWidget* parent)
    : CMainPage(parent, "tshStatystyka", QStringLiteral("Statystyka"), "lbStat_Title",
                "bevStat_Title")
{
    lvStatystyka = new QTreeWidget(this);
    lvStatystyka->setObjectName(QStringLiteral("lvStatystyka"));
    QFont f(QStringLiteral("Arial"));
    f.setPixelSize(13);
    f.setBold(true);
    lvStatystyka->setFont(f);
    lvStatystyka->setRootIsDecorated(false);
    lvStatystyka->setSelectionMode(QAbstractItemView::SingleSelection);
    lvStatystyka->setSelectionBehavior(QAbstractItemView::SelectRows);
    lvStatystyka->setEditTriggers(QAbstractItemView::NoEditTriggers);
    lvStatystyka->header()->setSectionsClickable(false);
    QStringList captions{QStringLiteral("Data")};
    for (int i = 1; i <= 11; ++i)
        captions << QString::number(i);
    const bool wide = DisplayMode == DM_1280;
    captions << (wide ? QStringLiteral("Wyp.") : QStringLiteral("W."))
             << (wide ? QStringLiteral("Kom.") : QStringLiteral("K."));
    lvStatystyka->setHeaderLabels(captions);
    lvStatystyka->setColumnWidth(0, wide ? 90 : 82);
    for (int i = 1; i <= 11; ++i) {
        lvStatystyka->setColumnWidth(i, wide || i <= 7 ? 41 : 30);
        lvStatystyka->headerItem()->setTextAlignment(i, Qt::AlignCenter);
    }
    lvStatystyka->setColumnWidth(12, wide ? 50 : 32);
    lvStatystyka->setColumnWidth(13, wide ? 50 : 32);
    resize(DesignWidth, DesignHeight);
    Arrange();
}

void CStatisticsPage::SetListColour(unsigned colour)
{
    QPalette p = lvStatystyka->palette();
    p.setColor(QPalette::Base, QColor(colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF));
    lvStatystyka->setPalette(p);
}

void CStatisticsPage::MarkLastRow()
{
    const int n = lvStatystyka->topLevelItemCount();
    if (n == 0)
        return;
    QTreeWidgetItem* last = lvStatystyka->topLevelItem(n - 1);
    lvStatystyka->setCurrentItem(last);
    lvStatystyka->scrollToItem(last);
}

void CStatisticsPage::Arrange()
{
    lvStatystyka->setGeometry(0, 68, 573 + width() - DesignWidth, 237 + height() - DesignHeight);
}
