#pragma once
#include "graphics/CDynamicPlace.h"
#include "mainwindow/CMainPage.h"
#include "mainwindow/CStatListView.h"

#include <QPointer>

class CBitmapsContainer;
class CNagrywanie;
class CPatient;
class CStatistics;
class CTransButton;
class TFormMessage;
class QAction;
class QFrame;
class QGroupBox;
class QLabel;
class QPushButton;
class QWidget;
class TFormProgress;

// The statistics page of the main window: the active patient's therapies, one
// row per therapy with a correctness figure per exercise, the details of one
// exercise or the totals of one therapy, deleting a therapy, and the two
// recordings of a therapy (the patient's utterance and the therapist's
// comment) with their play, record, stop and delete buttons.
//
// The window creates the page in its page control and binds it to the
// patient store, the statistics store, the recorder and the message window
// once the button container is loaded. The recorder belongs to the window:
// its two end notifications must call SoundEnded().
class CStatisticsPage : public CMainPage
{
public:
    enum ETarget
    {
        TargetUtterance = 2,
        TargetComment = 3
    };
    // One recording group: its box, markers, actions and buttons.
    struct SGroup
    {
        QGroupBox* gb = nullptr;
        QPushButton* btPlay = nullptr; // hidden markers of the design
        QPushButton* btRec = nullptr;
        QAction* actOdtworz = nullptr;
        QAction* actNagraj = nullptr;
        QAction* actStop = nullptr;
        QAction* actUsun = nullptr;
        CTransButton* tbOdtworz = nullptr;
        CTransButton* tbNagraj = nullptr;
        CTransButton* tbStop = nullptr;
        CTransButton* tbUsun = nullptr;
    };

    explicit CStatisticsPage(QWidget* parent);
    ~CStatisticsPage() override;

    // What the page works on; `buttons` holds the recording buttons' images
    // (ButtonsContainer unless given). The page does nothing before this.
    void Bind(CPatient* patient, CStatistics* statistics, CNagrywanie* nagrywanie,
              TFormMessage* message, CBitmapsContainer* buttons = nullptr);
    // The list's colour, 0x00BBGGRR (the window's layout gives it).
    void SetListColour(unsigned colour);

    // The message window is created after the main window; until it is set,
    // questions are answered "Nie" and notices go unseen.
    void SetMessage(TFormMessage* message) { m_message = message; }

    // The active patient changed: the list is filled again, nothing marked.
    void ShowTherapies();
    // After a therapy has been stored and appended: its row is marked and
    // its totals shown, as for a click on its date.
    void MarkLastRow();
    // Stops a recording or playback in progress; every main action, a change
    // of page and a change of the chosen exercises call it first.
    void StopSound();
    // The recorder reached the end of a playback or its recording limit.
    void SoundEnded();
    bool SoundBusy() const { return m_soundBusy; }
    bool SoundIsPlayback() const { return m_soundIsPlayback; }
    int SoundTarget() const { return m_soundTarget; }
    int MarkedRow() const { return m_markedRow; }
    int MarkedColumn() const { return m_markedColumn; }

    // Widths and captions of the list, width of the detail group: once the
    // page has its size in the display mode.
    void AdjustForDisplayMode();
    // Puts the recording buttons on their markers: when the window is first
    // shown and after a colour switch.
    void PlaceButtons();
    // After a colour switch: the buttons take their images again.
    void ReloadSkins();

    void ClearDetails();
    void ResetRecordingButtons();
    void UpdateRecordingButtons();

    // "Postępy": the progress window of the active patient, or a message
    // when there is nothing to show; the window, null when none is open.
    void actPostepy();
    TFormProgress* Progress() const;

    // The page's handlers, as the list and the actions call them.
    void lvStatystykaMouseDown(Qt::MouseButton button, int x);
    void lvStatystykaKeyDown(int key);

    CStatListView* lvStatystyka = nullptr;
    QGroupBox* gbStat_DaneSzczegol = nullptr;
    QLabel* lbStatNazwaCw = nullptr;
    QLabel* lbStatPoprawnosc = nullptr;
    QLabel* lbStatLZ = nullptr;
    QLabel* lbStatRozw = nullptr;
    QLabel* lbStatBezblednie = nullptr;
    QLabel* lbStatZBledami = nullptr;
    QLabel* lbStatPomoc = nullptr;
    QLabel* lbStatNieRozw = nullptr;
    QLabel* lbStatCzas = nullptr;
    QPushButton* btPostepy = nullptr;
    SGroup Wyp; // gbWypPac, btWypPlay, btWypRec, actWOdtworz ... actWUsun
    SGroup Kom; // gbKomTer, btKomPlay, btKomRec, actKOdtworz ... actKUsun

    // Time in tenths of a second as the page shows it: "10min 59s".
    static QString TimeText(int seconds);

protected:
    // The list follows the page on all sides, the detail group keeps to the
    // bottom left and the recording groups to the bottom right.
    void Arrange() override;

private:
    void BuildList();
    void BuildDetails();
    void BuildGroup(SGroup& g, const char* box, const char* caption, const char* play,
                    const char* rec, const char* prefix, QRect place);
    void BuildButtons();
    void BuildProgressButton();
    bool Bound() const { return m_statistics != nullptr; }
    SGroup& Group(int target) { return target == TargetUtterance ? Wyp : Kom; }
    // The recording kind of a target: 'W' or 'K'.
    static QChar Kind(int target);
    bool HasRecording(int target) const;
    QString FileName(int target) const;
    void DeleteRecordingOf(int target);
    bool Ask(const QString& row1, const QString& row2 = {}, const QString& row3 = {},
             const QString& row4 = {});
    void Inform(int kind, const QString& row1, const QString& row2 = {}, const QString& row3 = {},
                const QString& row4 = {}, bool compact = false);

    void ShowName(const QString& name);
    void ShowExercise(int exercise);
    void ShowTotals();
    void UnmarkRow();
    void MarkCell(int column, bool on);

    void actOdtworz(int target);
    void actNagraj(int target);
    void actStop(int target);
    void actUsun(int target);

    CPatient* m_patient = nullptr;
    CStatistics* m_statistics = nullptr;
    CNagrywanie* m_nagrywanie = nullptr;
    TFormMessage* m_message = nullptr;
    CDynamicPlace m_buttonLayout;
    int m_markedRow = -1;
    int m_markedColumn = -1;
    bool m_soundBusy = false;
    bool m_soundIsPlayback = false;
    int m_soundTarget = TargetUtterance;
    QPointer<TFormProgress> m_progress;
};
