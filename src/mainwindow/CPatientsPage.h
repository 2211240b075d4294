#pragma once
#include "mainwindow/CMainPage.h"

class QGroupBox;
class QPlainTextEdit;
class QPushButton;
class QTreeWidget;

// Page 0 of the main window: the patient list, the description and the
// places of the three patient buttons (hidden markers: the skinned buttons
// are put where they are).
class CPatientsPage : public CMainPage
{
public:
    static constexpr int MaxDescription = 4000;

    explicit CPatientsPage(QWidget* parent);

    QTreeWidget* lvPacjeci = nullptr;
    QGroupBox* gbOpis = nullptr;
    QPlainTextEdit* memoOpis = nullptr;
    QPushButton* btPacjentDodaj = nullptr;
    QPushButton* btPacjentEdytuj = nullptr;
    QPushButton* btPacjentUsun = nullptr;

    // The list and the memo in the list colour (0x00BBGGRR).
    void SetListColour(unsigned colour);

protected:
    void Arrange() override;

private:
    void LimitDescription();
};
