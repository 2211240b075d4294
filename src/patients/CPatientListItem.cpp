#include "patients/CPatientListItem.h"

#include <QCollator>
#include <QLocale>
#include <QTreeWidget>
#include <algorithm>

namespace {

// Built on first use; the list is only ever sorted on the GUI thread.
const QCollator& PolishCollator()
{
    static const QCollator collator = [] {
        QCollator polish(QLocale(QLocale::Polish, QLocale::Poland));
        polish.setCaseSensitivity(Qt::CaseInsensitive);
        polish.setNumericMode(true);
        return polish;
    }();
    return collator;
}

} // namespace

int CPatientListItem::Compare(const QString& a, const QString& b)
{
    return PolishCollator().compare(a, b);
}

void CPatientListItem::SortByCaption(std::vector<std::unique_ptr<QTreeWidgetItem>>& items)
{
    std::vector<std::pair<QCollatorSortKey, std::unique_ptr<QTreeWidgetItem>>> keyed;
    keyed.reserve(items.size());
    for (auto& item : items)
        keyed.emplace_back(PolishCollator().sortKey(item->text(0)), std::move(item));
    std::stable_sort(keyed.begin(), keyed.end(),
                     [](const auto& a, const auto& b) { return a.first.compare(b.first) < 0; });
    for (std::size_t i = 0; i < items.size(); ++i)
        items[i] = std::move(keyed[i].second);
}

bool CPatientListItem::operator<(const QTreeWidgetItem& other) const
{
    const int column = treeWidget() ? treeWidget()->sortColumn() : 0;
    return Compare(text(column < 0 ? 0 : column), other.text(column < 0 ? 0 : column)) < 0;
}

void CPatientListItem::MarkBusy(const QString& holder)
{
    const QString tip =
        QStringLiteral("Pacjent jest otwarty na stanowisku \u201e%1\u201d.").arg(holder);
    for (int column = 0; column < columnCount(); ++column) {
        setForeground(column, QColor(0x80, 0x80, 0x80));
        setToolTip(column, tip);
    }
}
