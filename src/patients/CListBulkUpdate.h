#pragma once
#include <QTreeWidget>

// Turns a list's drawing off for a bulk change and back on, however the
// change ends (the patient list and the statistics list are filled this way).
class CListBulkUpdate
{
public:
    explicit CListBulkUpdate(QTreeWidget* list) : m_list(list), m_wasEnabled(list->updatesEnabled())
    {
        m_list->setUpdatesEnabled(false);
    }
    ~CListBulkUpdate() { m_list->setUpdatesEnabled(m_wasEnabled); }
    CListBulkUpdate(const CListBulkUpdate&) = delete;
    CListBulkUpdate& operator=(const CListBulkUpdate&) = delete;

private:
    QTreeWidget* m_list;
    bool m_wasEnabled;
};
