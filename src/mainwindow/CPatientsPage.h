#pragma once
#include "mainwindow/CMainPage.h"

#include <functional>

class CPatient;
class CStatistics;
class QGroupBox;
class QModelIndex;
class QPlainTextEdit;
class QPushButton;
class QSocketNotifier;
class QTreeWidget;
class QTreeWidgetItem;
class TFormMessage;

// Page 0 of the main window: the patient list, the active patient's
// description and the places of the three patient buttons (hidden markers:
// the skinned buttons are put where they are). The page keeps the list in
// step with the patient store: whatever row the list shows as current is the
// active patient's, only a click makes another patient active, and a name
// or a deletion shown here is in the database.
class CPatientsPage : public CMainPage
{
public:
    static constexpr int MaxDescription = 4000;
    static constexpr int MaxNameLength = 40;
    static const QString NamePlaceholder;

    explicit CPatientsPage(QWidget* parent);

    QTreeWidget* lvPacjeci = nullptr;
    QGroupBox* gbOpis = nullptr;
    QPlainTextEdit* memoOpis = nullptr;
    QPushButton* btPacjentDodaj = nullptr;
    QPushButton* btPacjentEdytuj = nullptr;
    QPushButton* btPacjentUsun = nullptr;
    QPushButton* btWlasneMaterialy = nullptr;

    // The active patient changed here (a click, an addition, a deletion):
    // the window shows the new one everywhere.
    std::function<void()> OnActivePatientChanged;
    // The active patient's name changed here.
    std::function<void(const QString&)> OnNameChanged;
    // A new patient's name is about to be typed: the window shows this page.
    std::function<void()> OnShowPage;
    // "Własne materiały…": the window of the therapist's own material.
    std::function<void()> OnOwnMaterial;

    // What the page works on; the list is filled from the store. The page
    // does nothing before this.
    void Bind(CPatient* patient, CStatistics* statistics);
    // Watches the clinic connection's socket for the others' changes (again,
    // after the connection was made anew).
    void WatchChanges();
    // The message window is created after the main window; until it is set,
    // questions are answered "Nie".
    void SetMessage(TFormMessage* message) { m_message = message; }

    // The list and the memo in the list colour (0x00BBGGRR).
    void SetListColour(unsigned colour);
    // The memo shows the active patient's description, and takes text only
    // while there is an active patient to keep it.
    void ShowDescription();

    // The three patient buttons.
    void AddPatient();
    void EditPatient();
    void DeletePatient();

    // The list item of the active patient; none without one.
    QTreeWidgetItem* ActiveItem() const;
    // The name rules: trimmed, at most 40 characters, the placeholder for
    // an empty one.
    static QString CleanName(const QString& text);

protected:
    void Arrange() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    class CNameDelegate;

    void FillList();
    // The list again after another workstation's change.
    void OthersChanged();
    // True (and the therapist told which workstation has it) when patient
    // `id` is open on another workstation.
    bool RefuseBusy(int id);
    void LimitDescription();
    void SelectListIndex();
    void lvPacjeciClick();
    void lvPacjeciKeyUp();
    void StartEditing(QTreeWidgetItem* item);
    void lvPacjeciEdited(const QModelIndex& index, const QString& text);
    void EditingEnded();
    void memoOpisChange();
    bool Ask(const QString& r1, const QString& r2 = {}, const QString& r3 = {},
             const QString& r4 = {});
    void ActivePatientChanged();

    CPatient* m_patient = nullptr;
    CStatistics* m_statistics = nullptr;
    QSocketNotifier* m_changes = nullptr;
    TFormMessage* m_message = nullptr;
    bool m_editing = false; // a name editor is open
};
