#pragma once
#include "content/COwnMaterial.h"
#include "content/CWords.h"
#include "graphics/CBitmapsContainer.h"
#include "graphics/CDynamicPlace.h"

#include <QDialog>
#include <QImage>
#include <array>
#include <memory>

class CDelayCall;
class CExercise;
class CGraphTimer;
class CKompAlphabet;
class CKompGrComboBox;
class CKompPhoto;
class CKompTV;
class CPatient;
class CSharedKomps;
class CStatistics;
class CTransButton;
class QAction;
class QLabel;
class TFormStat;

// The full-screen window in which the patient works: a menu strip with the
// exercise box and four buttons over the exercise area, and the eleven
// exercises, run modally one after another for one patient per Start.
// Resources are read from the current folder (the program folder).
class TFormTherapy : public QDialog
{
public:
    enum class EDirection
    {
        Forward,
        Backward
    };

    // Throws the numbered start-up errors when a resource is missing.
    explicit TFormTherapy(QWidget* parent = nullptr);
    // The content database; the main window's settings pages count in it.
    const CWords& Words() const { return m_words; }
    CWords& Words() { return m_words; }
    // The therapist's own material; its words join the content database's.
    COwnMaterial& OwnMaterial() { return m_own; }
    // Takes the own words anew after the material has changed (not while a
    // therapy runs).
    void ReloadOwnWords();
    ~TFormTherapy() override;

    // The result window shown by the stop button (not owned).
    TFormStat* ResultWindow = nullptr;

    // Runs one therapy of the patient's chosen exercises; returns when the
    // window has closed. `statistics` has been reset for it by the caller.
    void Start(CPatient& patient, CStatistics& statistics);
    void SwitchTo(int exerciseIndex, EDirection direction);
    void AutoAdvance();

    void actStopExecute();
    void actWsteczExecute();
    void actDalejExecute();
    void actPomocExecute();

    // What a test or a tool may look at.
    CExercise* Exercise(int index) const { return m_exercises[static_cast<size_t>(index)].get(); }
    CExercise* CurrentExercise() const { return m_current; }
    int CurrentIndex() const { return m_currentIndex; }
    CTransButton* StopButton() const { return m_stop.get(); }
    CTransButton* HintButton() const { return m_hint.get(); }
    CTransButton* ForwardButton() const { return m_forward.get(); }
    CTransButton* BackButton() const { return m_back.get(); }
    CKompGrComboBox* GraphicsMenu() const { return m_menu.get(); }
    CKompAlphabet* Alphabet() const { return m_alphabet.get(); }
    CGraphTimer* GraphTimer() const { return m_graphTimer.get(); }
    QWidget* pbMenu = nullptr;
    QWidget* pbExercise = nullptr;
    QLabel* lbPacjent = nullptr;
    const QImage& ExerciseBitmap() const { return m_exerciseBitmap; }
    int AppliedColourMode() const { return m_appliedColourMode; }
    // Called once the window is shown modally (tests drive the therapy here).
    std::function<void()> OnShown;

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void OpenResources();
    void Relayout();
    void CreateControls();
    void PlaceButtons();
    void ReloadSkins();
    void LoadMenuBitmap();
    bool IsLastPosition() const;
    bool IsFirstPosition() const;
    int ExerciseOfRow(int row) const;
    void FinishTherapy();

    std::unique_ptr<CSharedKomps> m_shared;
    std::unique_ptr<CDelayCall> m_delayCall;
    CBitmapsContainer m_skins;
    CBitmapsContainer m_photos;
    CDynamicPlace m_main;
    CDynamicPlace m_menuTable;
    CDynamicPlace m_buttonTable;
    CDynamicPlace m_photoTable;
    CDynamicPlace m_alphabetTable;
    CWords m_words;
    COwnMaterial m_own;
    QImage m_exerciseBitmap;
    QImage* m_exerciseBitmapVar = nullptr;
    std::unique_ptr<QImage> m_menuBitmap;
    QImage* m_menuBitmapVar = nullptr; // the background variable of the strip's controls
    QAction* actStop = nullptr;
    QAction* actWstecz = nullptr;
    QAction* actDalej = nullptr;
    QAction* actPomoc = nullptr;
    std::unique_ptr<CTransButton> m_stop;
    std::unique_ptr<CTransButton> m_hint;
    std::unique_ptr<CTransButton> m_forward;
    std::unique_ptr<CTransButton> m_back;
    std::unique_ptr<CKompGrComboBox> m_menu;
    std::unique_ptr<CKompPhoto> m_photo;
    std::unique_ptr<CKompAlphabet> m_alphabet;
    std::unique_ptr<CGraphTimer> m_graphTimer;
    std::unique_ptr<CKompTV> m_tv;
    std::array<std::unique_ptr<CExercise>, 11> m_exercises;
    CStatistics* m_statistics = nullptr;
    CExercise* m_current = nullptr;
    int m_currentIndex = -1;
    int m_appliedColourMode = 0;
    int m_firstExercise = -1;
    int m_lastExercise = -1;
    QChar m_lastKey;
    MyArray<int> m_listed;
    bool m_closing = false;
};
