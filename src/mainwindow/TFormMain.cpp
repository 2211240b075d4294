#include "mainwindow/TFormMain.h"

#include "app/AppMessage.h"
#include "app/CError.h"
#include "app/DisplayMode.h"
#include "app/ScreenPainter.h"
#include "app/TFormSplash.h"
#include "content/ContentSound.h"
#include "graphics/CTransButton.h"
#include "mainwindow/BookmarkLayout.h"
#include "mainwindow/CKompBookmarks.h"
#include "mainwindow/COwnVoicesButton.h"
#include "mainwindow/CPatientsPage.h"
#include "mainwindow/CSettingsPages.h"
#include "mainwindow/CStatisticsPage.h"
#include "mainwindow/MainPages.h"
#include "mainwindow/TFormInfo.h"
#include "mainwindow/TFormMessage.h"
#include "mainwindow/TFormPomoc.h"
#include "patients/CPatient.h"
#include "patients/PatientStoreTarget.h"
#include "platform/CDbConnection.h"
#include "statistics/CNagrywanie.h"
#include "statistics/CStatistics.h"
#include "statistics/TFormStat.h"

#include <QAction>
#include <QApplication>
#include <QDateTime>
#include <QEventLoop>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QScopeGuard>
#include <QShowEvent>
#include <QStackedWidget>
#include <QTimer>
#include <QTreeWidget>
#include <cstdio>

namespace {

const QString kCaption = QStringLiteral("Loquena Cz. I");
const QString kReinstall =
    QStringLiteral("\n\n Jeśli ten błąd się powtarza, to proszę zainstalować program ponownie.");

constexpr int Rgb(int r, int g, int b)
{
    return r | (g << 8) | (b << 16);
}

// Positions of the window layout's entries, in the order they are read.
enum EWindowEntry
{
    WE_BACKGROUND = 1,
    WE_WINDOW_COLOUR,
    WE_LIST_COLOUR,
    WE_PAGE_CONTROL,
    WE_NAME,
    WE_NAME_COLOUR,
    WE_NAME_CAPTION,
    WE_NAME_CAPTION_COLOUR,
    WE_TITLE_COLOUR,
    WE_TITLE,
    WE_RULE,
    WE_WAIT,
};

struct SButtonSkin
{
    const char* name;
    int x1280, y1280, x1024, y1024;
    int images[3][3]; // (colour, monochrome, mask) per state
    bool allModes;    // images drawn for every display mode
};

// Main buttons first, then the three patient buttons (which stand at their
// markers: their point is not used).
const SButtonSkin kButtons[] = {
    {"tbInfo", -1, -1, 920, 102, {{6, 38, 7}, {8, 37, 9}, {10, 36, 11}}, false},
    {"tbPomoc", -1, -1, 920, 178, {{18, 41, 19}, {20, 40, 21}, {22, 39, 23}}, false},
    {"tbStart", 1148, 435, 914, 349, {{0, 44, 1}, {2, 43, 3}, {4, 42, 5}}, false},
    {"tbMonoKolor", -1, -1, 920, 570, {{24, 30, 25}, {26, 32, 27}, {28, 34, 29}}, false},
    {"tbWyjscie", -1, -1, 920, 646, {{12, 47, 13}, {14, 46, 15}, {16, 45, 17}}, false},
    {"tbDodaj", -1, -1, 0, 0, {{72, -1, 73}, {74, -1, 75}, {76, -1, 77}}, true},
    {"tbEdytuj", -1, -1, 0, 0, {{78, -1, 79}, {80, -1, 81}, {82, -1, 83}}, true},
    {"tbUsun", -1, -1, 0, 0, {{84, -1, 85}, {86, -1, 87}, {88, -1, 89}}, true},
};

const QString kNoCategoryPictures = QStringLiteral("Nie wybrano żadnej kategorii obrazków!");
const QString kNoCategoryProverbs = QStringLiteral("Nie wybrano żadnej kategorii przysłów!");
const QString kNoCategoryActions = QStringLiteral("Nie wybrano żadnej kategorii czynności!");

QColor ToColor(uint32_t c)
{
    return QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF);
}

void SetTextColour(QLabel* label, uint32_t colour)
{
    QPalette p = label->palette();
    p.setColor(QPalette::WindowText, ToColor(colour));
    label->setPalette(p);
}

QFont ArialPixels(int pixels, bool bold)
{
    QFont f(QStringLiteral("Arial"));
    f.setPixelSize(std::max(1, pixels));
    f.setBold(bold);
    return f;
}

void Pause(int ms)
{
    if (ms <= 0)
        return;
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec(QEventLoop::ExcludeUserInputEvents);
}

} // namespace

TFormMain::TFormMain() : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint)
{
    setObjectName(QStringLiteral("FormMain"));
    setAttribute(Qt::WA_OpaquePaintEvent); // the background covers the window
    CreateComponents();
    CreateActions();

    m_buttonsContainer = std::make_unique<CBitmapsContainer>();
    m_windowsContainer = std::make_unique<CBitmapsContainer>();
    m_bookmarks = std::make_unique<CKompBookmarks>(pbBookmarks);
    m_patient = std::make_unique<CPatient>();
    m_statistics = std::make_unique<CStatistics>(m_patient.get());
    m_recorder = new CNagrywanie(
        this, [this] { StopRecorderSound(); }, [this] { StopRecorderSound(); });

    // A second start finds the running program by this title.
    setWindowTitle(kCaption);

    const QString store = PatientStoreTarget(QCoreApplication::arguments());
    m_patient->SetWorkstation(PatientStoreWorkstation(QCoreApplication::arguments()));
    if (!m_patient->Open(store))
        throw CError(PatientStoreFailure(store, m_patient->LastError()));
    m_statistics->Bind(m_patient->Connection());
    m_tshPacjent->Bind(m_patient.get(), m_statistics.get());
    m_tshPacjent->OnActivePatientChanged = [this] { ShowActivePatient(); };
    m_tshPacjent->OnNameChanged = [this](const QString& name) { lbImieNazwisko->setText(name); };
    m_tshPacjent->OnShowPage = [this] { m_bookmarks->SetCurrent(MainPages::Patients); };
    StartClinicWatch();
    LoadContainers();
    setGeometry(0, 0, ScreenWidth, ScreenHeight);

    CreateButtons();
    BuildLayouts();
    m_bookmarkLayout.Set_iCurrent(m_bookmarkFirst);
    m_bookmarks->Setup(m_bookmarkLayout);
    m_bookmarks->OnChange = [this](int o, int n) { BookmarkChanged(o, n); };
    m_bookmarks->OnTick = [this](int i, bool s) { ExerciseChoiceChanged(i, s); };
    ApplyWindowLayout();
    ApplyButtonLayout();
    m_bookmarks->SetCurrent(MainPages::Patients);
    AttachPages();
}

// The settings pages and the statistics page work on the active patient's
// settings and therapies; the statistics page drives the recorder.
void TFormMain::AttachPages()
{
    std::array<QWidget*, CSettingsPages::PageCount> settings{};
    for (int i = 0; i < CSettingsPages::PageCount; ++i)
        settings[i] = Page(MainPages::FirstExercise + i);
    m_settingsPages =
        std::make_unique<CSettingsPages>(settings, m_patient.get(), nullptr, &m_updatingCount);
    m_settingsPages->AdjustForDisplayMode();
    m_tshStatystyka->Bind(m_patient.get(), m_statistics.get(), m_recorder, m_message);
    m_tshStatystyka->AdjustForDisplayMode();
}

TFormMain::~TFormMain()
{
    // Nothing may leave a destructor: a step that fails at exit is reported
    // and the rest of the shutdown still runs.
    AtExit([this] { StopSound(); });
    AtExit([this] { m_patient->Save(); });
    if (WindowsContainer == m_windowsContainer.get())
        WindowsContainer = nullptr;
    if (ButtonsContainer == m_buttonsContainer.get())
        ButtonsContainer = nullptr;
}

void TFormMain::AtExit(const std::function<void()>& step) noexcept
{
    try {
        step();
    } catch (...) {
        ReportExitError(std::current_exception());
    }
}

void TFormMain::ReportExitError(const std::exception_ptr& error) noexcept
{
    try {
        const QString detail = CError::TextOf(error);
        const QString text = QStringLiteral("Nie udało się zapisać danych pacjenta!\n\n") +
                             QStringLiteral("Ostatnie zmiany mogły nie zostać zachowane.") +
                             (detail.isEmpty() ? QString() : QStringLiteral("\n\n") + detail);
        std::fprintf(stderr, "%s\n", qUtf8Printable(text));
        ShowAppMessage(QMessageBox::Critical, kCaption, text);
    } catch (...) {
        // Even telling failed; the program still ends.
    }
}

void TFormMain::CreateComponents()
{
    pbBookmarks = new QWidget(this);
    pbBookmarks->setObjectName(QStringLiteral("pbBookmarks"));
    pcMainPageControl = new QStackedWidget(this);
    pcMainPageControl->setObjectName(QStringLiteral("pcMainPageControl"));
    for (int i = 0; i < MainPages::Count; ++i)
        pcMainPageControl->addWidget(MainPages::Create(i, pcMainPageControl));
    m_tshPacjent = static_cast<CPatientsPage*>(Page(MainPages::Patients));
    m_tshStatystyka = static_cast<CStatisticsPage*>(Page(MainPages::Statistics));

    lbOpisImieNazwisko = new QLabel(QStringLiteral("Bieżący pacjent:"), this);
    lbOpisImieNazwisko->setObjectName(QStringLiteral("lbOpisImieNazwisko"));
    lbImieNazwisko = new QLabel(this);
    lbImieNazwisko->setObjectName(QStringLiteral("lbImieNazwisko"));
}

QAction* TFormMain::AddAction(const char* name, void (TFormMain::*handler)())
{
    auto* action = new QAction(this);
    action->setObjectName(QLatin1String(name));
    connect(action, &QAction::triggered, this, handler);
    return action;
}

void TFormMain::CreateActions()
{
    actWyjscie = AddAction("actWyjscie", &TFormMain::actWyjscieExecute);
    actMonoKolor = AddAction("actMonoKolor", &TFormMain::actMonoKolorExecute);
    actStart = AddAction("actStart", &TFormMain::actStartExecute);
    actInfo = AddAction("actInfo", &TFormMain::actInfoExecute);
    actPomoc = AddAction("actPomoc", &TFormMain::actPomocExecute);
    actPacDodaj = AddAction("actPacDodaj", &TFormMain::actPacDodajExecute);
    actPacEdytuj = AddAction("actPacEdytuj", &TFormMain::actPacEdytujExecute);
    actPacUsun = AddAction("actPacUsun", &TFormMain::actPacUsunExecute);
}

void TFormMain::LoadContainers()
{
    if (m_windowsContainer->OpenComplete(QStringLiteral("Data/grwin.bc")) !=
        CBitmapsContainer::BC_OK)
        throw CError(QStringLiteral("#01: Błąd podczas ładowania zasobów!") + kReinstall);
    if (m_buttonsContainer->OpenComplete(QStringLiteral("Data/bttofa.bc")) !=
        CBitmapsContainer::BC_OK)
        throw CError(QStringLiteral("#02: Błąd podczas ładowania zasobów!") + kReinstall);
    WindowsContainer = m_windowsContainer.get();
    ButtonsContainer = m_buttonsContainer.get();
}

void TFormMain::CreateButtons()
{
    QAction* actions[] = {actInfo,    actPomoc,    actStart,     actMonoKolor,
                          actWyjscie, actPacDodaj, actPacEdytuj, actPacUsun};
    CTransButton** buttons[] = {&tbInfo,    &tbPomoc, &tbStart,  &tbMonoKolor,
                                &tbWyjscie, &tbDodaj, &tbEdytuj, &tbUsun};
    for (std::size_t i = 0; i < std::size(kButtons); ++i) {
        QWidget* parent = kButtons[i].allModes ? static_cast<QWidget*>(m_tshPacjent)
                                               : static_cast<QWidget*>(this);
        auto* b = new CTransButton(parent, 0, actions[i], &m_backgroundPtr);
        b->setObjectName(QLatin1String(kButtons[i].name));
        *buttons[i] = b;
    }
    m_ownVoices = new COwnVoicesButton(this);
}

CTransButton* TFormMain::Button(const char* name) const
{
    return findChild<CTransButton*>(QLatin1String(name));
}

CMainPage* TFormMain::Page(int index) const
{
    return static_cast<CMainPage*>(pcMainPageControl->widget(index));
}

void TFormMain::BuildLayouts()
{
    m_bookmarkLayout.Container = m_windowsContainer.get();
    m_bookmarkFirst = AddBookmarkLayout(m_bookmarkLayout);

    CDynamicPlace& w = m_windowLayout;
    w.Container = m_windowsContainer.get();
    w.Add(PT_BITMAP, 0);
    w.SetBitmap(DM_1280, 5, -1, -1);
    w.SetBitmap(DM_1024, 4, -1, -1);
    w.Add(PT_COLOR, 0);
    w.SetColor(DM_1280, Rgb(129, 194, 243), -1);
    w.SetColor(DM_1024, Rgb(128, 192, 240), -1);
    w.SetColor(DM_800, Rgb(128, 192, 240), -1);
    w.Add(PT_COLOR, 0);
    w.SetColor(DM_1024, Rgb(201, 228, 250), -1);
    w.Add(PT_PLACE | PF_CENTERED, 0);
    w.SetPlace(DM_1024, 250, 100, 582, 554, -1);
    w.Add(PT_PLACE | PF_CENTERED, 0);
    w.SetPlace(DM_1024, 357, 28, 514, 22, -1);
    w.Add(PT_COLOR, 0);
    w.SetColor(DM_1024, Rgb(6, 97, 169), -1);
    w.Add(PT_POINT | PF_CENTERED, 0);
    w.SetPoint(DM_1024, 214, 26, 21);
    w.Add(PT_COLOR, 0);
    w.SetColor(DM_1024, Rgb(7, 107, 165), -1);
    w.Add(PT_COLOR, 0);
    w.SetColor(DM_1024, Rgb(0, 0, 128), -1);
    w.Add(PT_POINT, 0); // title: left set at run time, top, font size
    w.SetPoint(DM_1024, 0, 0, 35);
    w.Add(PT_PLACE, 0); // the rule under each title
    w.SetPlace(DM_1024, 16, 48, 537, 3, -1);
    w.Add(PT_BITMAP | PT_TRANSBITMAP, 0);
    for (int mode : {DM_800, DM_1024, DM_1280})
        w.SetBitmap(mode, 37, -1, 38);

    CDynamicPlace& b = m_buttonLayout;
    b.Container = m_buttonsContainer.get();
    for (const SButtonSkin& s : kButtons) {
        b.Add(PT_POINT | PF_CENTERED, 0);
        if (s.x1280 >= 0)
            b.SetPoint(DM_1280, s.x1280, s.y1280, -1);
        b.SetPoint(DM_1024, s.x1024, s.y1024, -1);
        for (const auto& state : s.images) {
            b.Add(PT_BITMAP | PT_TRANSBITMAP, 0);
            b.SetBitmap(DM_1024, state[0], state[1], state[2]);
            if (s.allModes) {
                b.SetBitmap(DM_1280, state[0], state[1], state[2]);
                b.SetBitmap(DM_800, state[0], state[1], state[2]);
            }
        }
    }
}

void TFormMain::ApplyWindowLayout()
{
    CDynamicPlace& w = m_windowLayout;
    w.Set_iCurrent(WE_BACKGROUND);
    m_background = w.GetBackground();
    m_backgroundPtr = m_background.get();
    w.Set_iCurrent(WE_WINDOW_COLOUR);
    QPalette p = palette();
    p.setColor(QPalette::Window, ToColor(w.Get_CColor()));
    setPalette(p);
    w.Set_iCurrent(WE_LIST_COLOUR);
    m_tshPacjent->SetListColour(w.Get_CColor());
    m_tshStatystyka->SetListColour(w.Get_CColor());
    // The selection's colour goes grey with everything else.
    uint32_t highlight = Rgb(48, 140, 198);
    MonoColor(highlight);
    for (QWidget* list : {static_cast<QWidget*>(m_tshPacjent->lvPacjeci),
                          static_cast<QWidget*>(m_tshStatystyka->lvStatystyka)}) {
        QPalette lp = list->palette();
        lp.setColor(QPalette::Highlight, ToColor(highlight));
        list->setPalette(lp);
    }
    w.Set_iCurrent(WE_PAGE_CONTROL);
    w.PlaceComponent(pcMainPageControl);

    w.Set_iCurrent(WE_NAME);
    w.PlaceComponent(lbImieNazwisko);
    lbImieNazwisko->setFont(ArialPixels(lbImieNazwisko->height(), true));
    w.Set_iCurrent(WE_NAME_COLOUR);
    SetTextColour(lbImieNazwisko, w.Get_CColor());
    w.Set_iCurrent(WE_NAME_CAPTION);
    lbOpisImieNazwisko->setFont(ArialPixels(w.Get_CSize(), false));
    lbOpisImieNazwisko->adjustSize();
    // The caption ends before the name's box, whatever the font's width.
    const QPoint caption = w.Get_CPotint();
    lbOpisImieNazwisko->move(
        std::min(caption.x(), lbImieNazwisko->x() - lbOpisImieNazwisko->width() - 12), caption.y());
    w.Set_iCurrent(WE_NAME_CAPTION_COLOUR);
    SetTextColour(lbOpisImieNazwisko, w.Get_CColor());

    w.Set_iCurrent(WE_TITLE_COLOUR);
    const uint32_t titleColour = w.Get_CColor();
    w.Set_iCurrent(WE_TITLE);
    const int titleTop = w.Get_CY();
    const int titleSize = w.Get_CSize();
    w.Set_iCurrent(WE_RULE);
    const int ruleTop = w.Get_CTop();
    const int ruleWidth = w.Get_CWidth();
    for (int i = 0; i < MainPages::Count; ++i) {
        CMainPage* page = Page(i);
        page->resize(pcMainPageControl->size());
        page->PlaceTitle(titleTop, titleSize, ruleTop, ruleWidth, titleColour);
    }
    w.Set_iCurrent(WE_WAIT);
    w.GetTransBitmap(m_waitPicture);
}

void TFormMain::ApplyButtonLayout()
{
    m_buttonLayout.Set_iCurrent(1);
    for (CTransButton* b :
         {tbInfo, tbPomoc, tbStart, tbMonoKolor, tbWyjscie, tbDodaj, tbEdytuj, tbUsun}) {
        b->PlaceFromTable(m_buttonLayout);
        b->show();
    }
    PlaceSmallButtons();
}

void TFormMain::PlaceSmallButtons()
{
    // The patient buttons compose over the window's background under them.
    const QPoint origin = m_tshPacjent->mapTo(this, QPoint(0, 0));
    const std::pair<CTransButton*, QWidget*> pairs[] = {{tbDodaj, m_tshPacjent->btPacjentDodaj},
                                                        {tbEdytuj, m_tshPacjent->btPacjentEdytuj},
                                                        {tbUsun, m_tshPacjent->btPacjentUsun}};
    for (const auto& [button, marker] : pairs) {
        button->BgOffsetX = -origin.x();
        button->BgOffsetY = -origin.y();
        button->MoveTo(marker->x(), marker->y(), true);
        button->show(); // moving keeps a button hidden that was placed before the first show
        button->Refresh();
    }
    m_tshStatystyka->PlaceButtons();
    m_ownVoices->Place(tbPomoc->geometry(), tbStart->geometry());
}

void TFormMain::SetMessageForm(TFormMessage* form)
{
    m_message = form;
    m_tshStatystyka->SetMessage(form);
    m_tshPacjent->SetMessage(form);
    m_ownVoices->SetMessage(form);
    m_recorder->SetInform([this](int kind, const QString& r1, const QString& r2, const QString& r3,
                                 const QString& r4,
                                 bool compact) { Inform(kind, r1, r2, r3, r4, compact); });
}

void TFormMain::Inform(int kind, const QString& r1, const QString& r2, const QString& r3,
                       const QString& r4, bool compact)
{
    if (m_message)
        m_message->Inform(kind, r1, r2, r3, r4, compact);
}

bool TFormMain::Ask(const QString& r1, const QString& r2, const QString& r3, const QString& r4)
{
    return m_message && m_message->Ask(r1, r2, r3, r4);
}

// ---- window events

void TFormMain::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    // Back from under a cover, everything is as it was left.
    if (event->spontaneous() || m_screenGivenUp)
        return;
    FormSplash.reset();
    ShowActivePatient();
    PlaceSmallButtons();
}

void TFormMain::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        FormActivate();
}

void TFormMain::FormActivate()
{
    if (pcMainPageControl->currentIndex() == MainPages::Patients)
        m_tshPacjent->lvPacjeci->setFocus();
    for (CTransButton* b : {tbDodaj, tbEdytuj, tbUsun})
        b->Refresh();
    // Never over a message or another window shown modally from here.
    if (!QApplication::activeModalWidget())
        raise();
}

void TFormMain::paintEvent(QPaintEvent*)
{
    ScreenPainter p(this);
    if (!m_background) {
        p.fillRect(rect(), Qt::black);
        return;
    }
    if (m_waitShown && m_waitPicture.Image()) {
        QImage canvas = *m_background;
        const QImage* img = m_waitPicture.Image();
        m_waitPicture.Draw(canvas, width() / 2 - img->width() / 2, height() / 2 - img->height() / 2,
                           255, true);
        p.drawImage(0, 0, canvas);
    } else {
        p.drawImage(0, 0, *m_background);
    }
    if (!m_firstPaintReported) {
        m_firstPaintReported = true;
        // For measuring the start: the wall-clock time of the first paint,
        // then the program ends.
        if (qEnvironmentVariableIsSet("LOQUENA_FIRST_PAINT_EXIT")) {
            std::printf("first-paint-ms %lld\n",
                        static_cast<long long>(QDateTime::currentMSecsSinceEpoch()));
            std::fflush(stdout);
            QTimer::singleShot(0, this, &QWidget::close);
        }
    }
}

void TFormMain::closeEvent(QCloseEvent* event)
{
    StopSound();
    QWidget::closeEvent(event);
}

// ---- the active patient

void TFormMain::ShowActivePatient()
{
    ++m_updatingCount;
    lbImieNazwisko->setText(m_patient->Name());
    m_tshPacjent->ShowDescription();
    m_tshStatystyka->ShowTherapies();
    if (m_settingsPages)
        m_settingsPages->ShowSettings();
    m_bookmarks->SetTickMask(m_patient->Settings().Selected());
    m_bookmarks->Redraw();
    --m_updatingCount;
}

bool TFormMain::SoundBusy() const
{
    return m_tshStatystyka->SoundBusy();
}

void TFormMain::StopSound()
{
    m_tshStatystyka->StopSound();
}

void TFormMain::StopRecorderSound()
{
    m_tshStatystyka->SoundEnded();
}

void TFormMain::BookmarkChanged(int, int newIndex)
{
    StopSound();
    if (newIndex >= 0 && newIndex < MainPages::Count)
        pcMainPageControl->setCurrentIndex(newIndex);
}

void TFormMain::ExerciseChoiceChanged(int, bool)
{
    StopSound();
    m_patient->Settings().SetSelectedMask(m_bookmarks->GetTickMask());
}

// ---- the patients page

void TFormMain::actPacDodajExecute()
{
    StopSound();
    m_tshPacjent->AddPatient();
}

void TFormMain::actPacEdytujExecute()
{
    StopSound();
    m_tshPacjent->EditPatient();
}

void TFormMain::actPacUsunExecute()
{
    StopSound();
    m_tshPacjent->DeletePatient();
}

// ---- main buttons

void TFormMain::actWyjscieExecute()
{
    StopSound();
    if (Ask(QStringLiteral("Czy na pewno chcesz wyjść z programu?")))
        close();
}

void TFormMain::actInfoExecute()
{
    StopSound();
    if (m_info)
        m_info->ShowModal();
}

void TFormMain::actPomocExecute()
{
    StopSound();
    if (m_pomoc)
        m_pomoc->ShowModal();
}

void TFormMain::ShowWaitPicture()
{
    m_waitShown = true;
    repaint();
    Pause(m_waitPauseMs);
}

void TFormMain::HideWaitPicture()
{
    m_waitShown = false;
    update();
}

void TFormMain::GiveUpScreenWhileCovered()
{
    if (!m_therapyRunning || !isVisible())
        return;
    const QWidget* cover = QApplication::activeModalWidget();
    if (!cover || !cover->isVisible() || !cover->geometry().contains(geometry())) {
        // Not up yet: looked at again a moment later.
        QTimer::singleShot(100, this, [this] { GiveUpScreenWhileCovered(); });
        return;
    }
    m_screenGivenUp = true;
    hide();
    destroy();
}

void TFormMain::ComeBackFromCover()
{
    if (!m_screenGivenUp)
        return;
    show();
    activateWindow();
    m_screenGivenUp = false;
}

void TFormMain::actMonoKolorExecute()
{
    if (SoundBusy()) {
        StopSound();
        return;
    }
    ShowWaitPicture();
    const auto hideWait = qScopeGuard([this] { HideWaitPicture(); });
    ColorMode = ColorMode == CM_COLOR ? CM_MONO : CM_COLOR;
    FilmDir = ColorMode == CM_MONO ? QStringLiteral("Data/asmgr/") : QStringLiteral("Data/asm/");
    m_bookmarkLayout.Set_iCurrent(m_bookmarkFirst);
    m_bookmarks->Setup(m_bookmarkLayout);
    m_bookmarks->Redraw();
    ApplyWindowLayout();
    ApplyButtonLayout();
    m_tshStatystyka->ReloadSkins();
    if (m_stat)
        m_stat->ReloadSkins();
    if (m_message)
        m_message->ReloadSkins();
    pcMainPageControl->hide();
    pcMainPageControl->show();
    PlaceSmallButtons();
}

bool TFormMain::CheckCategories()
{
    const CTherapySettings& settings = m_patient->Settings();
    for (int i = 0; i < CTherapySettings::ExerciseCount; ++i) {
        if (!(settings.Selected() & (1 << i)))
            continue;
        const ExeSet& block = settings.Get_ExeSet(i);
        QString message;
        switch (i) {
        case CTherapySettings::WY:
        case CTherapySettings::UK:
        case CTherapySettings::WP:
        case CTherapySettings::ZO:
        case CTherapySettings::PNO:
            if ((block.Flags & CTherapySettings::CategoryBits(i)) == 0)
                message = kNoCategoryPictures;
            break;
        case CTherapySettings::PWP:
        case CTherapySettings::PWY:
        case CTherapySettings::PP:
            if ((block.Flags & CTherapySettings::CategoryBits(i)) == 0)
                message = kNoCategoryProverbs;
            break;
        case CTherapySettings::DC:
        case CTherapySettings::PNC:
            if ((block.Flags & CTherapySettings::CategoryBits(i)) == 0)
                message = kNoCategoryActions;
            break;
        case CTherapySettings::WYL:
            if (block.LZ == 0)
                message = QStringLiteral("Nie wybrano żadnego typu ciągów!");
            break;
        }
        if (!message.isEmpty()) {
            m_bookmarks->SetCurrent(MainPages::FirstExercise + i);
            Inform(TFormMessage::KindWarning, message);
            return false;
        }
    }
    return true;
}

void TFormMain::actStartExecute()
{
    if (SoundBusy()) {
        StopSound();
        return;
    }
    if (!m_tshPacjent->ActiveItem()) {
        Inform(TFormMessage::KindWarning, QStringLiteral("Brak aktywnego pacjenta!"), QString(),
               QStringLiteral("Dodaj pacjenta do listy, kliknij przycisk dodaj"),
               QStringLiteral("a następnie wpisz nazwisko i imię."));
        m_bookmarks->SetCurrent(MainPages::Patients);
        return;
    }
    if (m_patient->Settings().SelectedCount() == 0) {
        Inform(TFormMessage::KindWarning,
               QStringLiteral("Musisz wybrać ćwiczenia aby rozpocząć terapię."),
               QStringLiteral("Klikaj w miejscu małych kwadracików, aby wybrać"),
               QStringLiteral("ćwiczenie albo kliknij pomoc aby dowiedzieć"),
               QStringLiteral("się więcej o tym, jak używać programu."), true);
        return;
    }
    if (!CheckCategories())
        return;
    // The name and settings the therapy runs with are stored before it, so a
    // therapy that never ends in order (power cut, crash) cannot take them.
    m_patient->Save();
    {
        // The wait picture goes however the therapy ends, an error included.
        ShowWaitPicture();
        const auto hideWait = qScopeGuard([this] { HideWaitPicture(); });
        m_statistics->Reset(&m_patient->Settings());
        if (!m_runTherapy) // no therapy window: nothing to store
            return;
        m_therapyRunning = true;
        const auto ended = qScopeGuard([this] {
            m_therapyRunning = false;
            ComeBackFromCover();
        });
        // Runs inside the therapy window's own loop, once it is shown.
        QTimer::singleShot(0, this, [this] { GiveUpScreenWhileCovered(); });
        m_runTherapy(*m_patient, *m_statistics);
    }
    StoreTherapy();
}

void TFormMain::StoreTherapy()
{
    // The results go first: a patient's date that cannot be written must not
    // take the therapy with it.
    m_bookmarks->SetCurrent(MainPages::Statistics);
    const CStatistics::ESaved saved =
        m_statistics->SaveTherapy(m_patient->ActiveId(), m_tshStatystyka->lvStatystyka);
    if (saved != CStatistics::ESaved::Stored && m_patient->Connection()->IsClinic()) {
        ReportKeptTherapy(saved == CStatistics::ESaved::Kept);
        return;
    }
    m_tshStatystyka->MarkLastRow();
    if (pcMainPageControl->currentIndex() == MainPages::Statistics)
        m_tshStatystyka->lvStatystyka->setFocus();
    m_tshStatystyka->lvStatystyka->update();

    m_patient->MarkTherapyToday();
    if (QTreeWidgetItem* item = m_tshPacjent->ActiveItem())
        item->setText(2, m_patient->LastDateText());
    m_tshPacjent->lvPacjeci->update();
    update();
}
