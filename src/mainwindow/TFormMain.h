#pragma once
#include "graphics/CBitmapsContainer.h"
#include "graphics/CDynamicPlace.h"
#include "graphics/CTransBitmap.h"

#include <QWidget>
#include <exception>
#include <functional>
#include <memory>

class CKompBookmarks;
class CNagrywanie;
class COwnVoicesButton;
class CPatient;
class CPatientsPage;
class CStatistics;
class CSettingsPages;
class CStatisticsPage;
class CMainPage;
class CTransButton;
class QAction;
class QLabel;
class QStackedWidget;
class TFormInfo;
class TFormMessage;
class TFormPomoc;
class TFormStat;

// The therapist's console and the program's main window: the bookmark strip
// with the thirteen pages (the patients page keeps the patient list), the
// active patient's name, the five main buttons, and the start of a therapy.
// It shows the active patient on every page. It owns
// the two skin containers of the main window's family (published through
// WindowsContainer and ButtonsContainer), the patient store with its
// statistics, and the sound recorder.
class TFormMain : public QWidget
{
public:
    // Runs one therapy for the active patient; returns when it has ended.
    using TherapyRunner = std::function<void(CPatient& patient, CStatistics& statistics)>;

    // Opens "pacmem.qp" and the skins under "Data/" of the current folder;
    // throws CError "#03", "#01" or "#02" when one cannot be opened.
    TFormMain();
    ~TFormMain() override;

    // The windows created after this one, which it shows.
    void SetMessageForm(TFormMessage* form);
    void SetInfoForm(TFormInfo* form) { m_info = form; }
    void SetPomocForm(TFormPomoc* form) { m_pomoc = form; }
    void SetStatForm(TFormStat* form) { m_stat = form; }
    void SetTherapyRunner(TherapyRunner runner) { m_runTherapy = std::move(runner); }
    // How long the wait picture stays before the work starts (400 ms).
    void SetWaitPause(int ms) { m_waitPauseMs = ms; }

    // The actions of the window.
    QAction* actWyjscie = nullptr;
    QAction* actMonoKolor = nullptr;
    QAction* actStart = nullptr;
    QAction* actInfo = nullptr;
    QAction* actPomoc = nullptr;
    QAction* actPacDodaj = nullptr;
    QAction* actPacEdytuj = nullptr;
    QAction* actPacUsun = nullptr;

    CPatient& Patient() { return *m_patient; }
    CStatistics& Statistics() { return *m_statistics; }
    CKompBookmarks& Bookmarks() { return *m_bookmarks; }
    CNagrywanie& Recorder() { return *m_recorder; }
    QStackedWidget* PageControl() const { return pcMainPageControl; }
    CMainPage* Page(int index) const;
    CPatientsPage* PatientsPage() const { return m_tshPacjent; }
    CStatisticsPage* StatisticsPage() const { return m_tshStatystyka; }
    QLabel* NameLabel() const { return lbImieNazwisko; }
    QLabel* NameCaption() const { return lbOpisImieNazwisko; }
    CTransButton* Button(const char* name) const;
    const QImage* Background() const { return m_background.get(); }
    bool WaitShown() const { return m_waitShown; }
    int UpdatingCount() const { return m_updatingCount; }
    bool SoundBusy() const;
    CSettingsPages* SettingsPages() const { return m_settingsPages.get(); }

    void ShowActivePatient();
    void StopSound();

protected:
    void showEvent(QShowEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void CreateComponents();
    void CreateActions();
    QAction* AddAction(const char* name, void (TFormMain::*handler)());
    void LoadContainers();
    void CreateButtons();
    void BuildLayouts();
    void ApplyWindowLayout();
    void ApplyButtonLayout();
    void PlaceSmallButtons();
    void FormActivate();

    void BookmarkChanged(int oldIndex, int newIndex);
    void ExerciseChoiceChanged(int index, bool state);

    void actWyjscieExecute();
    void actMonoKolorExecute();
    void actStartExecute();
    void actInfoExecute();
    void actPomocExecute();
    void actPacDodajExecute();
    void actPacEdytujExecute();
    void actPacUsunExecute();

    bool CheckCategories();
    void ShowWaitPicture();
    void HideWaitPicture();
    // While a modal window lies over the whole of this one (the therapy
    // window), this one shows nothing, yet its screen buffer holds a whole
    // screen (33 MB at 3840x2160): it is hidden and gives the buffer up,
    // and comes back when the window over it has gone.
    void GiveUpScreenWhileCovered();
    void ComeBackFromCover();
    void StoreTherapy();
    // Keeps the work going with a clinic's server that goes away and comes
    // back (TFormMainClinic.cpp).
    void StartClinicWatch();
    void ReportKeptTherapy(bool kept);
    void AtExit(const std::function<void()>& step) noexcept;
    static void ReportExitError(const std::exception_ptr& error) noexcept;
    void StopRecorderSound();
    void AttachPages();
    void Inform(int kind, const QString& r1, const QString& r2 = {}, const QString& r3 = {},
                const QString& r4 = {}, bool compact = false);
    bool Ask(const QString& r1, const QString& r2 = {}, const QString& r3 = {},
             const QString& r4 = {});

    std::unique_ptr<CBitmapsContainer> m_buttonsContainer;
    std::unique_ptr<CBitmapsContainer> m_windowsContainer;
    std::unique_ptr<QImage> m_background;
    QImage* m_backgroundPtr = nullptr; // the buttons' background variable
    int m_updatingCount = 0;
    CTransButton* tbInfo = nullptr;
    CTransButton* tbStart = nullptr;
    CTransButton* tbPomoc = nullptr;
    CTransButton* tbMonoKolor = nullptr;
    CTransButton* tbWyjscie = nullptr;
    CTransButton* tbDodaj = nullptr;
    CTransButton* tbEdytuj = nullptr;
    CTransButton* tbUsun = nullptr;
    COwnVoicesButton* m_ownVoices = nullptr; // owned by this window (Qt parent)
    std::unique_ptr<CKompBookmarks> m_bookmarks;
    CDynamicPlace m_bookmarkLayout;
    CDynamicPlace m_windowLayout;
    CDynamicPlace m_buttonLayout;
    int m_bookmarkFirst = 1;
    CTransBitmap m_waitPicture;
    std::unique_ptr<CPatient> m_patient;
    std::unique_ptr<CStatistics> m_statistics;
    CNagrywanie* m_recorder = nullptr; // owned by this window (Qt parent)
    std::unique_ptr<CSettingsPages> m_settingsPages;
    bool m_soundIsPlayback = false;
    int m_soundTarget = 2;

    QWidget* pbBookmarks = nullptr;
    QStackedWidget* pcMainPageControl = nullptr;
    CPatientsPage* m_tshPacjent = nullptr;
    CStatisticsPage* m_tshStatystyka = nullptr;
    QLabel* lbOpisImieNazwisko = nullptr;
    QLabel* lbImieNazwisko = nullptr;

    TFormMessage* m_message = nullptr;
    TFormInfo* m_info = nullptr;
    TFormPomoc* m_pomoc = nullptr;
    TFormStat* m_stat = nullptr;
    TherapyRunner m_runTherapy;
    int m_waitPauseMs = 400;
    bool m_waitShown = false;
    bool m_firstPaintReported = false;
    bool m_therapyRunning = false;
    bool m_screenGivenUp = false;
};
