#pragma once
#include <QTreeWidgetItem>

// An item of the patient list. Lists sort it by caption the way Polish
// readers expect (Ł after L, Ż after Ź after Z, case aside), so that a sort
// the list itself does after renaming agrees with the first fill.
class CPatientListItem : public QTreeWidgetItem
{
public:
    using QTreeWidgetItem::QTreeWidgetItem;
    bool operator<(const QTreeWidgetItem& other) const override;

    // Compares two names in the Polish order; < 0, 0 or > 0.
    static int Compare(const QString& a, const QString& b);
};
