#include "therapy/TFormTherapy.h"

#include "app/CError.h"
#include "app/Cursors.h"
#include "app/DisplayMode.h"
#include "app/ScreenPainter.h"
#include "content/ContentSound.h"
#include "controls/CKompAlphabet.h"
#include "controls/CKompPhoto.h"
#include "controls/CKompTV.h"
#include "exercises/CExercise.h"
#include "exercises/CExerciseDC.h"
#include "exercises/CExercisePNC.h"
#include "exercises/CExercisePNO.h"
#include "exercises/CExercisePP.h"
#include "exercises/CExercisePWP.h"
#include "exercises/CExercisePWY.h"
#include "exercises/CExerciseUK.h"
#include "exercises/CExerciseWP.h"
#include "exercises/CExerciseWY.h"
#include "exercises/CExerciseWYL.h"
#include "exercises/CExerciseZO.h"
#include "graphics/BitmapTools.h"
#include "graphics/CBitmapBox.h"
#include "graphics/CDelayCall.h"
#include "graphics/CGraphTimer.h"
#include "graphics/CSharedKomps.h"
#include "graphics/CTransButton.h"
#include "patients/CPatient.h"
#include "statistics/CStatistics.h"
#include "statistics/TFormStat.h"
#include "therapy/CGraphicsMenu.h"
#include "therapy/CKompGrComboBox.h"
#include "therapy/CTherapyPlaces.h"

#include <QAction>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>

namespace {

const QString ResourceError =
    QStringLiteral(": Błąd podczas ładowania zasobów!\n\n Proszę zainstalować program ponownie.");

bool Enabled(const CTransButton* button)
{
    return button->State() != CTransButton::EState::Disabled;
}

} // namespace

TFormTherapy::TFormTherapy(QWidget* parent)
    : QDialog(parent, Qt::Window | Qt::FramelessWindowHint),
      m_shared(std::make_unique<CSharedKomps>(this)), m_delayCall(std::make_unique<CDelayCall>())
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    OpenResources();
    m_shared->Container = &m_skins;
    for (CDynamicPlace* table :
         {&m_main, &m_menuTable, &m_buttonTable, &m_photoTable, &m_alphabetTable})
        table->Container = &m_skins;
    CTherapyPlaces::FillMain(m_main);
    CTherapyPlaces::FillGraphicsMenu(m_menuTable);
    CTherapyPlaces::FillButtons(m_buttonTable);
    CTherapyPlaces::FillPhoto(m_photoTable);
    CTherapyPlaces::FillAlphabet(m_alphabetTable);
    setGeometry(0, 0, ScreenWidth, ScreenHeight);
    Relayout();
    CreateControls();

    m_main.Set_iCurrent(CTherapyPlaces::PosFirstColour);
    CSharedKomps& s = *m_shared;
    m_exercises[0] = std::make_unique<CExerciseWY>(m_main, s);
    m_exercises[1] = std::make_unique<CExerciseUK>(m_main, s);
    m_exercises[2] = std::make_unique<CExerciseWP>(m_main, s);
    m_exercises[3] = std::make_unique<CExerciseZO>(m_main, s);
    m_exercises[4] = std::make_unique<CExercisePWP>(m_main, s);
    m_exercises[5] = std::make_unique<CExercisePWY>(m_main, s);
    m_exercises[6] = std::make_unique<CExerciseDC>(m_main, s);
    m_exercises[7] = std::make_unique<CExerciseWYL>(m_main, s);
    m_exercises[8] = std::make_unique<CExercisePP>(m_main, s);
    m_exercises[9] = std::make_unique<CExercisePNO>(m_main, s);
    m_exercises[10] = std::make_unique<CExercisePNC>(m_main, s);
    m_main.Set_iCurrent(1);

    PlaceButtons();
    setCursor(Cursors::Get(Cursors::crLArrow));
}

TFormTherapy::~TFormTherapy()
{
    // The exercises' controls and the shared controls go before the bitmaps
    // they draw into.
    for (auto& exercise : m_exercises)
        exercise.reset();
    m_tv.reset();
    m_graphTimer.reset();
    m_alphabet.reset();
    m_photo.reset();
    m_menu.reset();
    m_stop.reset();
    m_hint.reset();
    m_forward.reset();
    m_back.reset();
}

void TFormTherapy::OpenResources()
{
    if (m_skins.OpenComplete(QStringLiteral("Data/cextb.bc")) != 0)
        throw CError("#11" + ResourceError);
    if (!m_words.Open(QStringLiteral("Data/sdrow.qp")))
        throw CError("#12" + ResourceError);
    if (m_words.Words().Count() < 4 || m_words.Proverbs().Count() < 4 ||
        m_words.Actions().Count() < 4)
        throw CError("#13" + ResourceError);
    const QString archive = DisplayMode == DM_1024 ? QStringLiteral("Data/zdjar3.bb")
                                                   : QStringLiteral("Data/zdjar5.bb");
    if (m_photos.OpenComplete(archive) != 0)
        throw CError("#15" + ResourceError);
    // Damaged own material must not stop the program: it goes on with the
    // shipped material, and the material window tells why.
    m_own.Open();
    ReloadOwnWords();
}

void TFormTherapy::ReloadOwnWords()
{
    m_words.SetOwnWords(m_own);
}

void TFormTherapy::Relayout()
{
    if (!lbPacjent) {
        pbMenu = new CBitmapBox(this, &m_menuBitmapVar);
        m_exerciseBitmapVar = &m_exerciseBitmap;
        pbExercise = new CBitmapBox(this, &m_exerciseBitmapVar);
        lbPacjent = new QLabel(this);
        QPalette palette = lbPacjent->palette();
        palette.setColor(QPalette::WindowText, QColor(100, 100, 100));
        lbPacjent->setPalette(palette);
        lbPacjent->setAttribute(Qt::WA_TranslucentBackground);
    }
    m_main.Set_iCurrent(CTherapyPlaces::PosPatient);
    m_main.PlaceComponent(lbPacjent);
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(std::max(1, lbPacjent->height()));
    lbPacjent->setFont(font);
    m_main.Set_iCurrent(CTherapyPlaces::PosMenu);
    m_main.PlaceComponent(pbMenu);
    pbExercise->setGeometry(pbMenu->x(), pbMenu->y() + pbMenu->height(), pbMenu->width(),
                            DesignHeight - pbMenu->height());
    m_exerciseBitmap = NewBitmap24Filled(pbExercise->width(), pbExercise->height(), 0);
    m_appliedColourMode = ColorMode;
    LoadMenuBitmap();
    m_main.Set_iCurrent(1);
}

void TFormTherapy::LoadMenuBitmap()
{
    m_main.Set_iCurrent(CTherapyPlaces::PosMenuBitmap);
    m_menuBitmap = m_main.SuitableBitmap(m_main.CurrentDP(), false, 0, 0);
    if (m_menuBitmap)
        Make24(*m_menuBitmap);
    m_menuBitmapVar = m_menuBitmap.get();
    m_main.Set_iCurrent(1);
    if (pbMenu)
        pbMenu->update();
}

void TFormTherapy::CreateControls()
{
    actStop = new QAction(this);
    actWstecz = new QAction(this);
    actDalej = new QAction(this);
    actPomoc = new QAction(this);
    connect(actStop, &QAction::triggered, this, [this] { actStopExecute(); });
    connect(actWstecz, &QAction::triggered, this, [this] { actWsteczExecute(); });
    connect(actDalej, &QAction::triggered, this, [this] { actDalejExecute(); });
    connect(actPomoc, &QAction::triggered, this, [this] { actPomocExecute(); });

    const int mx = pbMenu->x();
    const int my = pbMenu->y();
    auto button = [&](int kind, QAction* action) {
        auto b = std::make_unique<CTransButton>(this, kind, action, &m_menuBitmapVar);
        b->BgOffsetX = mx;
        b->BgOffsetY = my;
        return b;
    };
    m_stop = button(0, actStop);
    m_hint = button(1, actPomoc);
    m_forward = button(1, actDalej);
    m_back = button(1, actWstecz);
    m_stop->setObjectName(QStringLiteral("tbStop"));
    m_hint->setObjectName(QStringLiteral("tbPomoc"));
    m_forward->setObjectName(QStringLiteral("tbDalej"));
    m_back->setObjectName(QStringLiteral("tbWstecz"));

    m_shared->LoadLetterBitmaps();

    m_menu = std::make_unique<CKompGrComboBox>(this, &m_menuBitmapVar);
    m_menu->BackX = mx;
    m_menu->BackY = my;
    m_menu->OnChange = [this](int item, int, int, int) { SwitchTo(item, EDirection::Forward); };
    m_menuTable.Set_iCurrent(1);
    m_menu->PlaceFromTable(m_menuTable);
    m_menuTable.Set_iCurrent(1);

    const int ex = pbExercise->x();
    const int ey = pbExercise->y();
    m_photo = std::make_unique<CKompPhoto>(this, nullptr, &m_exerciseBitmap);
    m_photo->Archive = &m_photos;
    m_photo->OwnArchive = &m_own;
    m_photo->OwnLarge = DisplayMode != DM_1024;
    m_photo->Place(m_photoTable, ex, ey);
    m_photoTable.Set_iCurrent(1);
    m_photo->hide();

    m_alphabet = std::make_unique<CKompAlphabet>(this, nullptr, &m_exerciseBitmap);
    m_alphabet->Create(m_alphabetTable, ex, m_shared->Letters, ey);
    m_alphabetTable.Set_iCurrent(1);
    m_alphabet->MoveTo(pbExercise->width() / 2 - m_alphabet->width() / 2,
                       pbExercise->height() - m_alphabet->height());
    m_alphabet->hide();

    m_graphTimer =
        std::make_unique<CGraphTimer>(pbExercise->width() - 50, pbExercise->height() - 50);
    m_graphTimer->SetOnTimer([this] { AutoAdvance(); });
    m_main.Set_iCurrent(CTherapyPlaces::PosTimerPicture);
    m_graphTimer->LoadImage(m_main);

    m_tv = std::make_unique<CKompTV>(this);
    m_tv->ScrambledFiles = true;
    m_main.Set_iCurrent(CTherapyPlaces::PosVideo);
    m_main.PlaceComponent(m_tv.get());
    m_tv->move(m_tv->pos() + QPoint(ex, ey));
    m_main.Set_iCurrent(1);

    CSharedKomps& s = *m_shared;
    s.ExerciseBitmap = &m_exerciseBitmap;
    s.ExerciseArea = pbExercise;
    s.Photo = m_photo.get();
    s.KompAlphabet = m_alphabet.get();
    s.TV = m_tv.get();
    s.Words = &m_words;
    s.HintButton = m_hint.get();
    s.GraphTimer = m_graphTimer.get();
    s.DelayCall = m_delayCall.get();
}

void TFormTherapy::PlaceButtons()
{
    m_buttonTable.Set_iCurrent(1);
    for (CTransButton* b : {m_stop.get(), m_hint.get(), m_forward.get(), m_back.get()})
        b->PlaceFromTable(m_buttonTable);
    m_buttonTable.Set_iCurrent(1);
}

void TFormTherapy::ReloadSkins()
{
    m_appliedColourMode = ColorMode;
    LoadMenuBitmap();
    m_shared->LoadLetterBitmaps();
    m_menuTable.Set_iCurrent(1);
    m_menu->PlaceFromTable(m_menuTable);
    m_menuTable.Set_iCurrent(1);
    // The picture frame is grey in the grey mode too.
    m_photoTable.Set_iCurrent(1);
    m_photo->LoadImages(m_photoTable);
    m_photoTable.Set_iCurrent(1);
    for (auto& exercise : m_exercises)
        exercise->ApplyColourMode();
    PlaceButtons();
    m_alphabetTable.Set_iCurrent(1);
    m_alphabet->LoadImages(m_alphabetTable, m_shared->Letters);
    m_alphabetTable.Set_iCurrent(1);
    m_main.Set_iCurrent(CTherapyPlaces::PosTimerPicture);
    m_graphTimer->LoadImage(m_main);
    m_main.Set_iCurrent(1);
}

int TFormTherapy::ExerciseOfRow(int row) const
{
    const MyArray<int>& shown = m_menu->Menu().Shown();
    return row >= 0 && row < shown.Count() ? shown[row] : -1;
}

bool TFormTherapy::IsLastPosition() const
{
    return m_current && m_currentIndex == m_lastExercise && m_current->IsLastTask();
}

bool TFormTherapy::IsFirstPosition() const
{
    return m_current && m_currentIndex == m_firstExercise && m_current->TaskIndex == 0;
}

void TFormTherapy::Start(CPatient& patient, CStatistics& statistics)
{
    if (ColorMode != m_appliedColourMode)
        ReloadSkins();
    CTherapySettings& settings = patient.Settings();
    if (settings.Order().Count() == 0)
        return;
    m_statistics = &statistics;
    m_words.SetPatient(patient.ActiveId());
    for (int i = 0; i < CExercise::Count; ++i)
        m_exercises[static_cast<size_t>(i)]->StatEx = statistics.Get_P_StatEx(i);

    m_menu->ClearSelected();
    m_menu->Menu().ShowItems(settings.Order());
    m_menu->Refresh();
    m_listed.Clear();
    for (int index : m_menu->Menu().Shown())
        m_listed.Add(index);
    for (int index : m_listed)
        m_exercises[static_cast<size_t>(index)]->Prepare(settings);
    m_firstExercise = m_listed[0];
    m_lastExercise = m_listed[m_listed.Count() - 1];

    m_menu->SetSelected(0);
    m_currentIndex = m_firstExercise;
    m_current = m_exercises[static_cast<size_t>(m_currentIndex)].get();
    m_current->Activate();

    m_back->SetEnabled(false, false);
    m_forward->SetEnabled(!IsLastPosition(), false);
    m_hint->setVisible(m_current->HasHint);
    lbPacjent->setText(patient.Name());
    m_lastKey = QChar();
    m_closing = false;

    exec();
    FinishTherapy();
    // Hidden until the next therapy: the window gives back its screen buffer
    // (a whole screen, 33 MB at 3840x2160), so that the main window coming
    // back does not hold a second one.
    destroy();
}

void TFormTherapy::FinishTherapy()
{
    if (m_current)
        m_current->Deactivate();
    m_current = nullptr;
    m_currentIndex = -1;
    for (int index : m_listed)
        m_exercises[static_cast<size_t>(index)]->ClearTasks();
    m_graphTimer->Stop();
}

void TFormTherapy::SwitchTo(int exerciseIndex, EDirection direction)
{
    if (exerciseIndex < 0 || exerciseIndex >= CExercise::Count)
        return;
    if (m_current)
        m_current->Deactivate();
    m_currentIndex = exerciseIndex;
    m_current = m_exercises[static_cast<size_t>(exerciseIndex)].get();
    m_current->SelectTask(direction == EDirection::Forward ? 0 : m_current->TaskCount - 1);
    m_current->Activate();
    m_back->SetEnabled(!IsFirstPosition(), true);
    m_forward->SetEnabled(!IsLastPosition(), true);
    m_hint->setVisible(m_current->HasHint);
    pbExercise->update();
}

void TFormTherapy::actDalejExecute()
{
    if (!m_current || !Enabled(m_forward.get()))
        return;
    m_graphTimer->Resume();
    if (!Enabled(m_back.get()))
        m_back->SetEnabled(true, true);
    if (m_current->IsLastTask()) {
        m_menu->SetSelected(m_menu->GetSelected() + 1);
        SwitchTo(ExerciseOfRow(m_menu->GetSelected()), EDirection::Forward);
    } else {
        m_current->SelectTask(m_current->TaskIndex + 1);
        if (IsLastPosition())
            m_forward->SetEnabled(false, true);
    }
}

void TFormTherapy::actWsteczExecute()
{
    if (!m_current || !Enabled(m_back.get()))
        return;
    m_graphTimer->Pause();
    if (!Enabled(m_forward.get()))
        m_forward->SetEnabled(true, true);
    if (m_current->TaskIndex > 0) {
        m_current->SelectTask(m_current->TaskIndex - 1);
        if (IsFirstPosition())
            m_back->SetEnabled(false, true);
    } else {
        m_menu->SetSelected(m_menu->GetSelected() - 1);
        SwitchTo(ExerciseOfRow(m_menu->GetSelected()), EDirection::Backward);
    }
}

void TFormTherapy::AutoAdvance()
{
    if (!m_current || IsLastPosition())
        return;
    actDalejExecute();
    if (IsLastPosition()) {
        m_graphTimer->Stop();
        m_current->Paint();
    }
}

void TFormTherapy::actPomocExecute()
{
    if (m_current)
        m_current->Hint();
}

void TFormTherapy::actStopExecute()
{
    StopContentSound();
    if (m_statistics)
        m_statistics->PauseAll();
    m_tv->PauseFilm();
    // Nothing pages on behind the result window (a timed exercise reached
    // there would count the time the results are looked at).
    const bool paging = m_graphTimer->IsRunning();
    m_graphTimer->Pause();
    const bool end = !ResultWindow || !m_statistics || ResultWindow->ShowResults(*m_statistics);
    if (end) {
        m_closing = true;
        accept();
        return;
    }
    if (m_statistics)
        m_statistics->ResumeCurrent();
    if (paging)
        m_graphTimer->Resume();
}

void TFormTherapy::keyPressEvent(QKeyEvent* event)
{
    const QString text = event->text();
    if (text.isEmpty() || !text[0].isPrint()) {
        event->accept();
        return;
    }
    const QChar key = text[0];
    if (key != m_lastKey) {
        m_alphabet->KeyPress(key);
        m_lastKey = key;
    }
    event->accept();
}

void TFormTherapy::keyReleaseEvent(QKeyEvent* event)
{
    // A held key repeats its press and release; only the real release counts.
    if (event->isAutoRepeat())
        return;
    if (event->key() == Qt::Key_Left)
        actWsteczExecute();
    else if (event->key() == Qt::Key_Right)
        actDalejExecute();
    m_lastKey = QChar();
}

void TFormTherapy::paintEvent(QPaintEvent*)
{
    ScreenPainter p(this);
    const int exerciseBottom = pbExercise->y() + pbExercise->height();
    if (exerciseBottom != height()) {
        p.fillRect(0, 0, width(), pbMenu->y(), Qt::black);
        p.fillRect(0, exerciseBottom, width(), height() - exerciseBottom, Qt::black);
    }
    if (pbMenu->width() < width()) {
        const int h = exerciseBottom - pbMenu->y();
        p.fillRect(0, pbMenu->y(), pbMenu->x(), h, Qt::black);
        const int right = pbMenu->x() + pbMenu->width();
        p.fillRect(right, pbMenu->y(), width() - right, h, Qt::black);
    }
}

void TFormTherapy::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    // The controls draw only while visible: the first task is drawn again now
    // that they are.
    if (m_current)
        m_current->Paint();
    if (OnShown)
        QMetaObject::invokeMethod(
            this, [this] { OnShown(); }, Qt::QueuedConnection);
}

void TFormTherapy::closeEvent(QCloseEvent* event)
{
    // Only the stop button, with the end confirmed, closes the therapy.
    if (!m_closing)
        event->ignore();
}
