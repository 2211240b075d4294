#include "patients/CPatientListItem.h"

#include <QCollator>
#include <QLocale>
#include <QTreeWidget>

int CPatientListItem::Compare(const QString& a, const QString& b)
{
    // Built on first use; the list is only ever sorted on the GUI thread.
    static const QCollator collator = [] {
        QCollator polish(QLocale(QLocale::Polish, QLocale::Poland));
        polish.setCaseSensitivity(Qt::CaseInsensitive);
        polish.setNumericMode(true);
        return polish;
    }();
    return collator.compare(a, b);
}

bool CPatientListItem::operator<(const QTreeWidgetItem& other) const
{
    const int column = treeWidget() ? treeWidget()->sortColumn() : 0;
    return Compare(text(column < 0 ? 0 : column), other.text(column < 0 ? 0 : column)) < 0;
}
