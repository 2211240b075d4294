#pragma once
#include "patients/CTherapySettings.h"

#include <QObject>
#include <array>

class CPatient;
class CWords;
class QCheckBox;
class QFrame;
class QGroupBox;
class QLabel;
class QRadioButton;
class QScrollBar;
class QWidget;

// The settings pages of the eleven exercises (pages 2 to 12 of the main
// window's page control). Each page edits the active patient's block of that
// exercise; every change goes into the settings at once and reaches the
// database with the patient's record. The task counts offered are bounded by
// the content that matches the chosen categories, and by 50.
//
// The controls are built into page widgets that the window gives (its
// tshWybieranieNazwy ... tshPowtarzanieNazwCzynnosci); each control carries
// its form name ("WY_sbLZ", "PNO_rbCoRobi", ...) as its object name.
class CSettingsPages : public QObject
{
public:
    static constexpr int PageCount = CTherapySettings::ExerciseCount;
    static constexpr int MaxTaskCount = 50;
    enum EContentKind
    {
        CK_PICTURES = 0,
        CK_DESCRIBED = 1,
        CK_PROVERBS = 2,
        CK_ACTIONS = 3
    };

    // The controls of one page; those a page does not have stay null.
    struct SPage
    {
        int Exercise = 0;
        QWidget* tsh = nullptr;
        QLabel* lbTitle = nullptr;
        QFrame* bevTitle = nullptr;
        QGroupBox* gbLZ = nullptr;
        QLabel* lbLZ = nullptr;
        QScrollBar* sbLZ = nullptr;
        QGroupBox* gbKat = nullptr; // gbKatObr, gbKatPrzyslow or gbKatCzynnosci
        QCheckBox* cbKat[9] = {};   // by tag = category bit
        int KatCount = 0;
        QCheckBox* cbWszystkie = nullptr;
        QCheckBox* cbWlasne = nullptr; // "Własne", the own words; not one of "Wszystkie"
        QGroupBox* gbNazwyDoWyboru = nullptr;
        QRadioButton* rbDwa = nullptr;
        QRadioButton* rbTrzy = nullptr;
        QRadioButton* rbCztery = nullptr;
        QGroupBox* gbPodpowiedz = nullptr;
        QRadioButton* rbPodpowiedzTak = nullptr;
        QRadioButton* rbPodpowiedzNie = nullptr;
        QGroupBox* gbDodLitery = nullptr;
        QRadioButton* rbDodLiteryTak = nullptr;
        QRadioButton* rbDodLiteryNie = nullptr;
        QGroupBox* gbPrzewijanie = nullptr;
        QRadioButton* rbReczne = nullptr;
        QRadioButton* rbAuto = nullptr;
        QScrollBar* sbAutoTime = nullptr;
        QGroupBox* gbSposobNazwania = nullptr;
        QRadioButton* rbCoPrzedstawia = nullptr;
        QRadioButton* rbCoRobi = nullptr;
        QGroupBox* gbTypyWyliczanek = nullptr;
        QCheckBox* cbDni = nullptr;
        QCheckBox* cbMiesiace = nullptr;
        QCheckBox* cbCyfry = nullptr;
        QGroupBox* gbKolejnosc = nullptr;
        QRadioButton* rbKolejno = nullptr;
        QRadioButton* rbLosowo = nullptr;
    };

    // `pages`: the eleven empty page widgets, in exercise order (574 x 544 at
    // design size). `updatingCount`: the window's counter; the pages keep
    // their own when it is null. `words`: the content database that counts
    // the matching items; may be set later.
    CSettingsPages(const std::array<QWidget*, PageCount>& pages, CPatient* patient,
                   const CWords* words, int* updatingCount = nullptr);
    ~CSettingsPages() override;

    void SetWords(const CWords* words) { m_words = words; }
    SPage& Page(int exercise) { return m_pages[exercise]; }

    // Brings every page in line with the active patient's settings.
    void ShowSettings();
    // The 800x600 layout: the pages' controls shrink with the page, the
    // category groups move up under the task count, the paging groups beside
    // it. Once, after the pages have their size.
    void AdjustForDisplayMode();

    static void SetTaskCountControls(QLabel* label, QScrollBar* bar, int count);
    void SetMinMax_LZ(QScrollBar* bar, QLabel* label, int contentKind, int wanted, ExeSet& block);
    static void ShowAutoTime(QRadioButton* radio, int seconds);
    static int ContentKind(int exercise);
    // The task count last chosen for an exercise (not WYL).
    int WantedLZ(int exercise) const { return m_wantedLZ[exercise]; }

private:
    class CUpdating;
    void Build(int exercise, QWidget* tsh);
    void BuildCategories(SPage& p, const char* group, const char* caption, QRect place,
                         const char* const* names, const char* const* captions, int count, int left,
                         int top, int step, int wszystkieTop);
    void Connect(SPage& p);
    // Check boxes and radio buttons as large as their captions need.
    static void FitCaptions(SPage& p);
    void AdjustSmall(SPage& p);
    ExeSet& Block(int exercise);
    // Whose personal words the task counts include.
    int ActivePatient() const;
    int Updating() const { return *m_updating; }
    void FillPage(SPage& p);

    // The handlers; each returns at once while the pages are being filled.
    void sbLZScroll(int exercise, int position);
    void cbKatClick(int exercise, int tag, bool checked);
    void cbWszystkieClick(int exercise, bool checked);
    void cbWlasneClick(int exercise, bool checked);
    void rbChoicesClick(int exercise, int choices);
    void SetFlagBit(int exercise, int bit, bool on);
    void rbNamingClick(bool coRobi);
    void WylTypeClick(int bit, bool on);
    void sbAutoTimeScroll(int exercise, int position);
    void UpdateLimits(SPage& p);

    std::array<SPage, PageCount> m_pages;
    CPatient* m_patient;
    const CWords* m_words;
    int m_ownUpdating = 0;
    int* m_updating;
    int m_wantedLZ[PageCount] = {};
};
