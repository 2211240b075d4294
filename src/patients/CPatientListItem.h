#pragma once
#include <QTreeWidgetItem>
#include <memory>
#include <vector>

// An item of the patient list. Lists sort it by caption the way Polish
// readers expect (Ł after L, Ż after Ź after Z, case aside), so that a sort
// the list itself does after renaming agrees with the first fill.
class CPatientListItem : public QTreeWidgetItem
{
public:
    using QTreeWidgetItem::QTreeWidgetItem;
    bool operator<(const QTreeWidgetItem& other) const override;

    // Greys the item of a patient open on workstation `holder`, who is named
    // in its tip.
    void MarkBusy(const QString& holder);

    // Compares two names in the Polish order; < 0, 0 or > 0.
    static int Compare(const QString& a, const QString& b);
    // Puts `items` (not in a list yet) in the order of Compare by caption,
    // equal captions in the order given: each caption's collation key is
    // made once instead of collating it anew at every comparison.
    static void SortByCaption(std::vector<std::unique_ptr<QTreeWidgetItem>>& items);
};
