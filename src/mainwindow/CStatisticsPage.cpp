#include "mainwindow/CStatisticsPage.h"

#include "app/DisplayMode.h"
#include "graphics/CBitmapsContainer.h"
#include "graphics/CTransButton.h"
#include "mainwindow/CStatListView.h"
#include "mainwindow/TFormMessage.h"
#include "mainwindow/TFormProgress.h"
#include "patients/CPatient.h"
#include "statistics/CExerciseFigures.h"
#include "statistics/CNagrywanie.h"
#include "statistics/CStatEx.h"
#include "statistics/CStatistics.h"
#include "statistics/ExerciseTitles.h"

#include <QAction>
#include <QEvent>
#include <QFontMetrics>
#include <QFrame>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QPalette>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <algorithm>

namespace {

constexpr int kColumns = 14;
constexpr int kLastScored = CStatEx::FirstUnscored - 1;
constexpr int kNameFont = 15;
constexpr int kSmallestNameFont = 10;

// Button images (colour, mask) of the three states, play, record, stop and
// delete, the same for both groups.
constexpr int kButtonImages[4][3][2] = {
    {{96, 97}, {98, 99}, {100, 101}},
    {{90, 91}, {92, 93}, {94, 95}},
    {{102, 103}, {104, 105}, {106, 107}},
    {{108, 109}, {110, 111}, {112, 113}},
};

QFont Arial(int pixels, bool bold)
{
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(pixels);
    font.setBold(bold);
    return font;
}

// The exercise columns are centred.
class CCentredColumns : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override
    {
        QStyledItemDelegate::initStyleOption(option, index);
        if (index.column() >= 1 && index.column() <= CStatistics::ExerciseCount)
            option->displayAlignment = Qt::AlignCenter;
    }
};

QString Marked(const QString& text)
{
    return QLatin1Char('[') + text + QLatin1Char(']');
}

QString Unmarked(const QString& text)
{
    if (text.startsWith(QLatin1Char('[')) && text.endsWith(QLatin1Char(']')) && text.size() >= 2)
        return text.mid(1, text.size() - 2);
    return text;
}

// The window colour, under which the small buttons are composed.
int WindowColour()
{
    uint32_t colour = DisplayMode == DM_1280 ? 0xF3C281u : 0xF0C080u; // 0x00BBGGRR
    if (ColorMode == CM_MONO)
        MonoColor(colour);
    return int(colour);
}

} // namespace

CStatisticsPage::CStatisticsPage(QWidget* parent)
    : CMainPage(parent, "tshStatystyka", QStringLiteral("Statystyka"), "lbStat_Title",
                "bevStat_Title")
{
    QPalette navy = Title()->palette();
    navy.setColor(QPalette::WindowText, QColor(0, 0, 128));
    Title()->setPalette(navy);
    Title()->adjustSize();
    Title()->move(DesignWidth / 2 - Title()->width() / 2, 0);
    BuildList();
    BuildDetails();
    BuildGroup(Wyp, "gbWypPac", " Wypowiedź pacjenta ", "btWypPlay", "btWypRec", "actW",
               QRect(404, 312, 169, 89));
    BuildGroup(Kom, "gbKomTer", " Komentarz terapeuty ", "btKomPlay", "btKomRec", "actK",
               QRect(404, 416, 170, 89));
    BuildButtons();
    BuildProgressButton();
    for (SGroup* g : {&Wyp, &Kom}) {
        g->tbNagraj->SetEnabled(false, false);
        for (CTransButton* b : {g->tbOdtworz, g->tbStop, g->tbUsun})
            b->hide();
    }
    resize(DesignWidth, DesignHeight);
    Arrange();
}

void CStatisticsPage::Bind(CPatient* patient, CStatistics* statistics, CNagrywanie* nagrywanie,
                           TFormMessage* message, CBitmapsContainer* buttons)
{
    m_patient = patient;
    m_statistics = statistics;
    m_nagrywanie = nagrywanie;
    m_message = message;
    // The recorder's free-space messages go through the message window.
    m_nagrywanie->SetInform([this](int kind, const QString& r1, const QString& r2,
                                   const QString& r3, const QString& r4,
                                   bool compact) { Inform(kind, r1, r2, r3, r4, compact); });
    m_buttonLayout.Container = buttons ? buttons : ButtonsContainer;
    ReloadSkins();
}

void CStatisticsPage::SetListColour(unsigned colour)
{
    QPalette palette = lvStatystyka->palette();
    palette.setColor(QPalette::Base,
                     QColor(colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF));
    lvStatystyka->setPalette(palette);
}

CStatisticsPage::~CStatisticsPage() = default;

// ---- building

void CStatisticsPage::BuildList()
{
    lvStatystyka = new CStatListView(this);
    lvStatystyka->setObjectName(QStringLiteral("lvStatystyka"));
    lvStatystyka->setGeometry(0, 68, 573, 237);
    lvStatystyka->setColumnCount(kColumns);
    QStringList captions{QStringLiteral("Data")};
    for (int i = 1; i <= CStatistics::ExerciseCount; ++i)
        captions << QString::number(i);
    captions << QStringLiteral("W.") << QStringLiteral("K.");
    lvStatystyka->setHeaderLabels(captions);
    lvStatystyka->setRootIsDecorated(false);
    lvStatystyka->setItemsExpandable(false);
    lvStatystyka->setSelectionMode(QAbstractItemView::SingleSelection);
    lvStatystyka->setSelectionBehavior(QAbstractItemView::SelectRows);
    lvStatystyka->setEditTriggers(QAbstractItemView::NoEditTriggers);
    lvStatystyka->header()->setSectionsClickable(false);
    lvStatystyka->header()->setSectionsMovable(false);
    lvStatystyka->header()->setStretchLastSection(false);
    lvStatystyka->header()->setDefaultAlignment(Qt::AlignCenter);
    lvStatystyka->setItemDelegate(new CCentredColumns(lvStatystyka));
    lvStatystyka->setFont(Arial(13, true));
    SetListColour(0xFAE4C9); // the window's layout may set another (grey in monochrome)
    lvStatystyka->setColumnWidth(0, 82);
    for (int i = 1; i <= CStatistics::ExerciseCount; ++i)
        lvStatystyka->setColumnWidth(i, i <= CStatEx::FirstUnscored ? 41 : 30);
    lvStatystyka->setColumnWidth(CStatistics::UtteranceColumn, 32);
    lvStatystyka->setColumnWidth(CStatistics::CommentColumn, 32);
    lvStatystyka->OnMouseDown = [this](Qt::MouseButton b, int x) { lvStatystykaMouseDown(b, x); };
    lvStatystyka->OnKeyDown = [this](int key) { lvStatystykaKeyDown(key); };
    // While a sound runs the marked row stays the current one.
    lvStatystyka->OnMouseUp = [this] {
        if (m_soundBusy)
            lvStatystyka->SetCurrentRow(m_markedRow);
    };
}

void CStatisticsPage::BuildDetails()
{
    gbStat_DaneSzczegol = new QGroupBox(QStringLiteral(" Dane szczegółowe "), this);
    gbStat_DaneSzczegol->setObjectName(QStringLiteral("gbStat_DaneSzczegol"));
    gbStat_DaneSzczegol->setGeometry(0, 312, 369, 225);
    gbStat_DaneSzczegol->setFont(Arial(16, true));
    gbStat_DaneSzczegol->setStyleSheet(QStringLiteral("QGroupBox { color: #404040; }"));
    struct SRow
    {
        const char* caption;
        const char* name;
        QLabel** value;
        int left;
        int top;
        int fontPixels;
        int valueRight; // 0: the value starts at x 120
    };
    const SRow rows[] = {
        {"Ćwiczenie:", "lbStatNazwaCw", &lbStatNazwaCw, 16, 24, kNameFont, 0},
        {"Poprawność:", "lbStatPoprawnosc", &lbStatPoprawnosc, 16, 40, 19, 0},
        {"Liczba zadań:", "lbStatLZ", &lbStatLZ, 16, 72, 16, 219},
        {"Zadania rozwiązane:", "lbStatRozw", &lbStatRozw, 16, 96, 16, 219},
        {"Bezbłędnie:", "lbStatBezblednie", &lbStatBezblednie, 40, 114, 15, 219},
        {"Z błędami:", "lbStatZBledami", &lbStatZBledami, 40, 132, 15, 219},
        {"Używana pomoc:", "lbStatPomoc", &lbStatPomoc, 40, 150, 15, 219},
        {"Zadania nierozwiązane:", "lbStatNieRozw", &lbStatNieRozw, 16, 176, 16, 219},
        {"Czas wykonania:", "lbStatCzas", &lbStatCzas, 16, 200, 16, 278},
    };
    for (const SRow& r : rows) {
        auto* caption = new QLabel(QString::fromUtf8(r.caption), gbStat_DaneSzczegol);
        caption->setFont(Arial(std::min(r.fontPixels, 16), true));
        caption->adjustSize();
        caption->move(r.left, r.top);
        if (r.name == std::string_view("lbStatPoprawnosc"))
            caption->setToolTip(QStringLiteral("Bezbłędnie / Liczba zadań * 100%"));
        auto* value = new QLabel(gbStat_DaneSzczegol);
        value->setObjectName(QLatin1String(r.name));
        value->setFont(Arial(r.fontPixels, true));
        const int height = std::max(caption->height(), QFontMetrics(value->font()).height());
        if (r.valueRight == 0) {
            value->setGeometry(120, r.top, 369 - 120 - 8, height);
        } else {
            value->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
            // Narrow enough to leave the caption beside it uncovered.
            const int width = r.valueRight == 219 ? 40 : 90;
            value->setGeometry(r.valueRight - width, r.top, width, height);
        }
        *r.value = value;
    }
}

// Beside the title, above the list's right end: the rest of the page stays
// as it is.
void CStatisticsPage::BuildProgressButton()
{
    btPostepy = new QPushButton(QStringLiteral("Postępy"), this);
    btPostepy->setObjectName(QStringLiteral("btPostepy"));
    btPostepy->setFont(Arial(15, true));
    btPostepy->setToolTip(QStringLiteral("Wykresy postępów, raport PDF i eksport CSV"));
    btPostepy->resize(std::max(96, btPostepy->sizeHint().width()), 30);
    connect(btPostepy, &QPushButton::clicked, this, [this] { actPostepy(); });
}

void CStatisticsPage::actPostepy()
{
    if (!Bound())
        return;
    StopSound();
    if (m_patient->ActiveId() < 0) {
        Inform(TFormMessage::KindInformation, QStringLiteral("Nie wybrano pacjenta."),
               QStringLiteral("Wybierz pacjenta na stronie pacjentów."));
        return;
    }
    CTherapyHistory history;
    try {
        history.Load(m_patient->Connection(), m_patient->ActiveId());
    } catch (...) {
        Inform(TFormMessage::KindError,
               QStringLiteral("Nie udało się odczytać terapii z bazy pacjentów."));
        return;
    }
    if (history.Empty()) {
        Inform(TFormMessage::KindInformation,
               QStringLiteral("Ten pacjent nie ma jeszcze żadnej zapisanej terapii."),
               QStringLiteral("Postępy będzie można zobaczyć po pierwszej terapii."));
        return;
    }
    CTherapyHistory::SPatient patient{m_patient->ActiveId(), m_patient->Name(),
                                      m_patient->Description()};
    delete m_progress;
    m_progress = new TFormProgress(patient, std::move(history), m_patient->Connection(), m_message,
                                   window());
    m_progress->setAttribute(Qt::WA_DeleteOnClose);
    m_progress->open();
}

TFormProgress* CStatisticsPage::Progress() const
{
    return m_progress.data();
}

void CStatisticsPage::BuildGroup(SGroup& g, const char* box, const char* caption, const char* play,
                                 const char* rec, const char* prefix, QRect place)
{
    g.gb = new QGroupBox(QString::fromUtf8(caption), this);
    g.gb->setObjectName(QLatin1String(box));
    g.gb->setGeometry(place);
    g.gb->setFont(Arial(15, true));
    g.btPlay = new QPushButton(g.gb);
    g.btPlay->setObjectName(QLatin1String(play));
    g.btPlay->setGeometry(29, 29, 44, 44);
    g.btPlay->hide();
    g.btRec = new QPushButton(g.gb);
    g.btRec->setObjectName(QLatin1String(rec));
    g.btRec->setGeometry(93, 29, 44, 44);
    g.btRec->hide();
    const int target = &g == &Wyp ? TargetUtterance : TargetComment;
    auto action = [&](const char* verb, void (CStatisticsPage::*handler)(int)) {
        auto* a = new QAction(this);
        a->setObjectName(QLatin1String(prefix) + QLatin1String(verb));
        connect(a, &QAction::triggered, this,
                [this, handler, target] { (this->*handler)(target); });
        return a;
    };
    g.actOdtworz = action("Odtworz", &CStatisticsPage::actOdtworz);
    g.actNagraj = action("Nagraj", &CStatisticsPage::actNagraj);
    g.actStop = action("Stop", &CStatisticsPage::actStop);
    g.actUsun = action("Usun", &CStatisticsPage::actUsun);
}

void CStatisticsPage::BuildButtons()
{
    for (int group = 0; group < 2; ++group) {
        for (int b = 0; b < 4; ++b) {
            m_buttonLayout.Add(PT_POINT, 0);
            for (int mode : {DM_800, DM_1024, DM_1280})
                m_buttonLayout.SetPoint(mode, 0, 0, -1);
            for (const auto& state : kButtonImages[b]) {
                m_buttonLayout.Add(PT_BITMAP | PT_TRANSBITMAP, 0);
                for (int mode : {DM_1024, DM_1280})
                    m_buttonLayout.SetBitmap(mode, state[0], -1, state[1]);
            }
        }
    }
    const int colour = WindowColour();
    for (SGroup* g : {&Wyp, &Kom}) {
        const QString prefix = g == &Wyp ? QStringLiteral("tbW") : QStringLiteral("tbK");
        auto make = [&](QAction* action, const char* name) {
            auto* b = new CTransButton(g->gb, 0, action, colour, window());
            b->setObjectName(prefix + QLatin1String(name));
            return b;
        };
        g->tbOdtworz = make(g->actOdtworz, "Odtworz");
        g->tbNagraj = make(g->actNagraj, "Nagraj");
        g->tbStop = make(g->actStop, "Stop");
        g->tbUsun = make(g->actUsun, "Usun");
    }
}

void CStatisticsPage::ReloadSkins()
{
    if (!m_buttonLayout.Container)
        return;
    m_buttonLayout.Set_iCurrent(1);
    // The window colour under the buttons turns grey with the skins.
    const int colour = WindowColour();
    for (SGroup* g : {&Wyp, &Kom})
        for (CTransButton* b : {g->tbOdtworz, g->tbNagraj, g->tbStop, g->tbUsun}) {
            b->PlaceFromTable(m_buttonLayout);
            b->SetColour(colour);
        }
    PlaceButtons();
}

void CStatisticsPage::PlaceButtons()
{
    // A move keeps a button shown or hidden as it was, even while the window
    // itself is not shown yet.
    QList<std::pair<CTransButton*, bool>> hidden;
    for (SGroup* g : {&Wyp, &Kom})
        for (CTransButton* b : {g->tbOdtworz, g->tbNagraj, g->tbStop, g->tbUsun})
            hidden.append({b, b->isHidden()});
    for (SGroup* g : {&Wyp, &Kom}) {
        const QPoint play = g->btPlay->pos();
        const QPoint rec = g->btRec->pos();
        g->tbOdtworz->MoveTo(play.x(), play.y(), true);
        if (g == &Wyp)
            g->tbUsun->MoveTo(rec.x(), play.y(), true);
        else
            g->tbUsun->MoveTo(rec.x(), rec.y(), true);
        // Record and stop sit in the middle and replace each other.
        const int middle = play.x() / 2 + rec.x() / 2;
        g->tbNagraj->MoveTo(middle, play.y(), true);
        g->tbStop->MoveTo(middle, play.y(), true);
    }
    for (auto [b, wasHidden] : hidden)
        b->setHidden(wasHidden);
}

void CStatisticsPage::AdjustForDisplayMode()
{
    Arrange();
    if (DisplayMode == DM_1280) {
        lvStatystyka->setColumnWidth(0, 90);
        for (int i = 1; i <= CStatistics::ExerciseCount; ++i)
            lvStatystyka->setColumnWidth(i, 41);
        for (int c : {CStatistics::UtteranceColumn, CStatistics::CommentColumn})
            lvStatystyka->setColumnWidth(c, 50);
        lvStatystyka->headerItem()->setText(CStatistics::UtteranceColumn, QStringLiteral("Wyp."));
        lvStatystyka->headerItem()->setText(CStatistics::CommentColumn, QStringLiteral("Kom."));
    } else if (DisplayMode == DM_800) {
        gbStat_DaneSzczegol->resize(Wyp.gb->x() - gbStat_DaneSzczegol->x() - 1,
                                    gbStat_DaneSzczegol->height());
        // The name and the correctness end inside the narrower group.
        for (QLabel* l : {lbStatNazwaCw, lbStatPoprawnosc})
            l->resize(gbStat_DaneSzczegol->width() - l->x() - 8, l->height());
    }
}

void CStatisticsPage::Arrange()
{
    const int dx = width() - DesignWidth;
    const int dy = height() - DesignHeight;
    lvStatystyka->setGeometry(0, 68, std::max(0, 573 + dx), std::max(0, 237 + dy));
    gbStat_DaneSzczegol->move(0, 312 + dy);
    Wyp.gb->move(404 + dx, 312 + dy);
    Kom.gb->move(404 + dx, 416 + dy);
    btPostepy->move(lvStatystyka->geometry().right() + 1 - btPostepy->width(), 10);
}

// ---- the list

void CStatisticsPage::ShowTherapies()
{
    if (!Bound())
        return;
    m_statistics->ListTherapies(m_patient->ActiveId(), lvStatystyka);
    ClearDetails();
    ResetRecordingButtons();
    m_markedRow = -1;
    m_markedColumn = -1;
}

void CStatisticsPage::MarkLastRow()
{
    lvStatystyka->SetCurrentRow(lvStatystyka->topLevelItemCount() - 1);
    lvStatystykaMouseDown(Qt::LeftButton, 0);
}

void CStatisticsPage::UnmarkRow()
{
    QTreeWidgetItem* item = lvStatystyka->topLevelItem(m_markedRow);
    if (!item)
        return;
    item->setText(0, Unmarked(item->text(0)));
    MarkCell(m_markedColumn, false);
}

void CStatisticsPage::MarkCell(int column, bool on)
{
    QTreeWidgetItem* item = lvStatystyka->topLevelItem(m_markedRow);
    if (!item || column < 1 || column > CStatistics::ExerciseCount)
        return;
    item->setText(column, on ? Marked(item->text(column)) : Unmarked(item->text(column)));
}

void CStatisticsPage::lvStatystykaMouseDown(Qt::MouseButton, int x)
{
    if (!Bound())
        return;
    if (m_soundBusy) {
        lvStatystyka->SetCurrentRow(m_markedRow);
        return;
    }
    int column = -1;
    int right = 0;
    for (int c = 0; c < kColumns; ++c) {
        right += lvStatystyka->columnWidth(c);
        if (x < right) {
            column = c;
            break;
        }
    }
    const int current = lvStatystyka->CurrentRow();
    if (current == m_markedRow) {
        if (column == m_markedColumn || m_markedRow < 0)
            return;
        MarkCell(m_markedColumn, false);
    } else {
        if (m_markedRow >= 0)
            UnmarkRow();
        m_markedRow = current;
        if (current < 0) {
            m_markedColumn = -1;
            ClearDetails();
            ResetRecordingButtons();
            return;
        }
        QTreeWidgetItem* item = lvStatystyka->topLevelItem(current);
        item->setText(0, Marked(item->text(0)));
        m_statistics->LoadTherapy(m_patient->ActiveId(), item->data(0, Qt::UserRole).toInt());
        UpdateRecordingButtons();
    }
    m_markedColumn = column;
    const int exercise = column - 1;
    if (column >= 1 && column <= CStatistics::ExerciseCount &&
        (m_statistics->ChosenMask() & (1 << exercise))) {
        ShowExercise(exercise);
        MarkCell(column, true);
        return;
    }
    ShowTotals();
}

void CStatisticsPage::lvStatystykaKeyDown(int key)
{
    if (!Bound() || key != Qt::Key_Delete || m_markedRow < 0 || !lvStatystyka->currentItem())
        return;
    // The files of the therapy go with it: nothing may still write into them.
    StopSound();
    if (m_statistics->Wypowiedz() > 0 || m_statistics->Komentarz() > 0) {
        if (!Ask(QStringLiteral("Ta pozycja zawiera nagraną wypowiedź / komentarz."), QString(),
                 QStringLiteral("Czy na pewno chcesz ją usunąć?"), QString()))
            return;
    }
    m_statistics->DeleteTherapy();
    delete lvStatystyka->takeTopLevelItem(m_markedRow);
    lvStatystyka->SetCurrentRow(-1);
    ClearDetails();
    ResetRecordingButtons();
    m_markedRow = -1;
    m_markedColumn = -1;
}

// ---- details

QString CStatisticsPage::TimeText(int seconds)
{
    return QString::number(seconds / 60) + QStringLiteral("min ") + QString::number(seconds % 60) +
           QStringLiteral("s");
}

void CStatisticsPage::ClearDetails()
{
    for (QLabel* l : {lbStatNazwaCw, lbStatPoprawnosc, lbStatLZ, lbStatRozw, lbStatBezblednie,
                      lbStatZBledami, lbStatPomoc, lbStatNieRozw, lbStatCzas})
        l->clear();
}

// The exercise's name in its design font, smaller where the group is too
// narrow for it (800 x 600).
void CStatisticsPage::ShowName(const QString& name)
{
    QFont font = Arial(kNameFont, true);
    while (font.pixelSize() > kSmallestNameFont &&
           QFontMetrics(font).horizontalAdvance(name) > lbStatNazwaCw->width())
        font.setPixelSize(font.pixelSize() - 1);
    lbStatNazwaCw->setFont(font);
    lbStatNazwaCw->setText(name);
}

void CStatisticsPage::ShowExercise(int exercise)
{
    ClearDetails();
    const CStatEx& r = m_statistics->StatEx(exercise);
    ShowName(ExerciseTitle(exercise));
    lbStatLZ->setText(QString::number(r.LZ));
    if (exercise > kLastScored)
        return;
    // The score as the list shows it; a damaged row has none.
    const QString score = CExerciseFigures(r).ScoreText();
    lbStatPoprawnosc->setText(r.Plausible() ? score + QLatin1Char('%') : score);
    lbStatRozw->setText(QString::number(r.Rozw));
    lbStatBezblednie->setText(QString::number(r.Faultless()));
    lbStatZBledami->setText(QString::number(r.Blad));
    lbStatPomoc->setText(QString::number(r.PomocPercent()) + QLatin1Char('%'));
    lbStatNieRozw->setText(QString::number(r.LZ - r.Rozw));
    lbStatCzas->setText(TimeText(r.Czas / 10));
}

void CStatisticsPage::ShowTotals()
{
    const CStatistics& s = *m_statistics;
    ShowName(QStringLiteral("<Wszystkie>"));
    lbStatPoprawnosc->setText(QString::number(s.AverageCorrectness()) + QLatin1Char('%'));
    lbStatLZ->setText(QString::number(s.TotalLZ()));
    lbStatRozw->setText(QString::number(s.TotalRozw()));
    lbStatBezblednie->setText(QString::number(s.TotalFaultless()));
    lbStatZBledami->setText(QString::number(s.TotalBlad()));
    lbStatPomoc->setText(QString::number(s.AveragePomoc()) + QLatin1Char('%'));
    lbStatNieRozw->setText(QString::number(s.TotalUnsolved()));
    lbStatCzas->setText(TimeText(s.TotalSeconds()));
}

// ---- recordings

void CStatisticsPage::ResetRecordingButtons()
{
    for (SGroup* g : {&Wyp, &Kom}) {
        g->tbNagraj->SetEnabled(false, true);
        g->tbNagraj->show();
        for (CTransButton* b : {g->tbOdtworz, g->tbStop, g->tbUsun})
            b->hide();
    }
}

bool CStatisticsPage::HasRecording(int target) const
{
    return (target == TargetUtterance ? m_statistics->Wypowiedz() : m_statistics->Komentarz()) > 0;
}

void CStatisticsPage::UpdateRecordingButtons()
{
    // Only a marked row has its therapy loaded. The marks go on it, wherever
    // the keys have moved the highlight meanwhile.
    if (m_markedRow < 0)
        return;
    lvStatystyka->SetCurrentRow(m_markedRow);
    m_statistics->RefreshRecordingMarks(lvStatystyka, CStatistics::UtteranceColumn);
    for (int target : {int(TargetUtterance), int(TargetComment)}) {
        SGroup& g = Group(target);
        const bool has = HasRecording(target);
        g.tbNagraj->setVisible(!has);
        g.tbOdtworz->setVisible(has);
        g.tbUsun->setVisible(has);
        g.tbStop->hide();
        g.tbNagraj->SetEnabled(true, true);
    }
}

QString CStatisticsPage::FileName(int target) const
{
    return target == TargetUtterance ? m_statistics->UtteranceFileName()
                                     : m_statistics->CommentFileName();
}

QChar CStatisticsPage::Kind(int target)
{
    return target == TargetUtterance ? QLatin1Char('W') : QLatin1Char('K');
}

void CStatisticsPage::DeleteRecordingOf(int target)
{
    if (target == TargetUtterance)
        m_statistics->DeleteUtterance();
    else
        m_statistics->DeleteComment();
}

bool CStatisticsPage::Ask(const QString& row1, const QString& row2, const QString& row3,
                          const QString& row4)
{
    return m_message && m_message->Ask(row1, row2, row3, row4);
}

void CStatisticsPage::Inform(int kind, const QString& row1, const QString& row2,
                             const QString& row3, const QString& row4, bool compact)
{
    if (m_message)
        m_message->Inform(kind, row1, row2, row3, row4, compact);
}

void CStatisticsPage::actOdtworz(int target)
{
    if (!Bound() || m_soundBusy)
        return;
    // On a clinic database the recording comes from the server first.
    if (!m_statistics->FetchRecording(Kind(target)) || !m_nagrywanie->OpenFile(FileName(target))) {
        Inform(TFormMessage::KindError,
               QStringLiteral("Wystąpił błąd podczas próby odtworzenia nagrania."));
        return;
    }
    m_nagrywanie->Play();
    SGroup& g = Group(target);
    g.tbOdtworz->hide();
    g.tbUsun->hide();
    g.tbStop->show();
    m_soundBusy = true;
    m_soundIsPlayback = true;
    m_soundTarget = target;
}

void CStatisticsPage::actNagraj(int target)
{
    if (!Bound() || m_soundBusy || m_statistics->IdStat() < 0 ||
        !m_nagrywanie->HasSpaceForRecording())
        return;
    // A file that cannot be opened, or a device that cannot record, keeps no
    // recording of this kind.
    if (!m_nagrywanie->OpenFile(FileName(target)) ||
        !m_nagrywanie->Record(CNagrywanie::MaxRecordingMs)) {
        m_nagrywanie->CloseFile();
        Inform(TFormMessage::KindError, QStringLiteral("Wystąpił błąd podczas próby nagrania."));
        DeleteRecordingOf(target);
        UpdateRecordingButtons();
        return;
    }
    SGroup& g = Group(target);
    g.tbNagraj->hide();
    g.tbStop->show();
    m_soundBusy = true;
    m_soundIsPlayback = false;
    m_soundTarget = target;
}

void CStatisticsPage::actStop(int)
{
    if (!Bound())
        return;
    m_nagrywanie->CloseFile();
    const bool recorded = m_soundBusy && !m_soundIsPlayback;
    m_soundBusy = false;
    // The recording is stored whole once its file is closed (on a clinic
    // database it goes to the server now).
    if (recorded && !m_statistics->KeepRecording(Kind(m_soundTarget)))
        Inform(TFormMessage::KindError,
               QStringLiteral("Nie udało się zapisać nagrania w bazie kliniki."));
    UpdateRecordingButtons();
}

void CStatisticsPage::actUsun(int target)
{
    if (!Bound() || m_soundBusy)
        return;
    const QString question = target == TargetUtterance
                                 ? QStringLiteral("Czy na pewno chcesz usunąć wypowiedź?")
                                 : QStringLiteral("Czy na pewno chcesz usunąć komentarz?");
    if (!Ask(question))
        return;
    DeleteRecordingOf(target);
    UpdateRecordingButtons();
}

void CStatisticsPage::StopSound()
{
    if (m_soundBusy)
        Group(m_soundTarget).actStop->trigger();
}

void CStatisticsPage::SoundEnded()
{
    Group(m_soundTarget).actStop->trigger();
}
