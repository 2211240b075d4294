#pragma once
#include "mainwindow/CMainPage.h"

class QTreeWidget;

// Page 1 of the main window: the active patient's therapies, one row each.
class CStatisticsPage : public CMainPage
{
public:
    explicit CStatisticsPage(QWidget* parent);

    QTreeWidget* lvStatystyka = nullptr;

    void SetListColour(unsigned colour);
    // After a therapy: its row (the last) becomes the current, marked one.
    void MarkLastRow();

protected:
    void Arrange() override;
};
