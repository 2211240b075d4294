#include "mainwindow/CSettingsPages.h"

#include "app/CError.h"
#include "app/DisplayMode.h"
#include "content/CWords.h"
#include "statistics/ExerciseTitles.h"
#include "patients/CPatient.h"

#include <QCheckBox>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>
#include <QScrollBar>
#include <algorithm>

using TS = CTherapySettings;

namespace {

const char* const kCodes[CSettingsPages::PageCount] = {"WY", "UK",  "WP", "ZO",  "PWP", "PWY",
                                                       "DC", "WYL", "PP", "PNO", "PNC"};
const char* const kPageNames[CSettingsPages::PageCount] = {
    "tshWybieranieNazwy",         "tshUkladanieNazwy",
    "tshWpisywanieNazwy",         "tshZadaniaOpisowe",
    "tshPrzyslowiaWpisywanie",    "tshPrzyslowiaWybieranie",
    "tshDopasowanieCzynnosci",    "tshWyliczanki",
    "tshPowtarzaniePrzyslow",     "tshPowtarzanieNazwObrazkow",
    "tshPowtarzanieNazwCzynnosci"};

const char* const kPictureNames[] = {"cbDom",       "cbZwierzeta", "cbOwoce",
                                     "cbTransport", "cbOsoby",     "cbJedzenie",
                                     "cbOgrod",     "cbBiuro",     "cbInne"};
const char* const kPictureCaptions[] = {
    "Dom i mieszkanie", "Zwierzęta", "Owoce i warzywa", "Transport", "Osoby",
    "Jedzenie",         "Ogród",     "Biuro",           "Inne"};
const char* const kProverbNames[] = {"cbZnane", "cbLudowe", "cbOBogu", "cbTrudne"};
const char* const kProverbCaptions[] = {"Znane", "Ludowe", "O Bogu", "Trudne"};
const char* const kActionNames[] = {"cbH", "cbO", "cbG", "cbS", "cbP", "cbR", "cbB", "cbU", "cbI"};
const char* const kActionCaptions[] = {
    "Higiena osobista", "Prace w ogrodzie", "Gospodarstwo domowe", "Sport", "Posiłki",
    "Rozrywka",         "Prace biurowe",    "Poruszanie się",      "Inne"};

constexpr int kDesignPageWidth = 574;
constexpr int kWszystkie = -1;
// The placement tables' factor from the 1024 x 768 design to 800 x 600.
constexpr int kSmallNumerator = 25;
constexpr int kSmallDenominator = 32;
// Room kept between a control and the right edge of its group.
constexpr int kGroupMargin = 4;

QFont ArialBold(int pixels)
{
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(pixels);
    font.setBold(true);
    return font;
}

QString Name(int exercise, const char* suffix)
{
    return QLatin1String(kCodes[exercise]) + QLatin1Char('_') + QLatin1String(suffix);
}

template <class W> W* Make(QWidget* parent, const QString& name, const QString& caption = {})
{
    auto* w = new W(parent);
    w->setObjectName(name);
    if constexpr (!std::is_same_v<W, QScrollBar> && !std::is_same_v<W, QFrame>) {
        if constexpr (std::is_same_v<W, QGroupBox>)
            w->setTitle(caption);
        else
            w->setText(caption);
    }
    return w;
}

QRadioButton* Radio(QWidget* parent, const QString& name, const char* caption, int x, int y,
                    int width = 200)
{
    auto* rb = Make<QRadioButton>(parent, name, QString::fromUtf8(caption));
    rb->setGeometry(x, y, width, 20);
    return rb;
}

QScrollBar* HorizontalBar(QWidget* parent, const QString& name, QRect place, int pageStep)
{
    auto* sb = Make<QScrollBar>(parent, name);
    sb->setOrientation(Qt::Horizontal);
    sb->setGeometry(place);
    sb->setPageStep(pageStep);
    return sb;
}

int FullMask(int count)
{
    return (1 << count) - 1;
}

bool IsPaging(int exercise)
{
    return exercise == TS::WYL || exercise == TS::PP || exercise == TS::PNO || exercise == TS::PNC;
}

int Small(int value)
{
    return value * kSmallNumerator / kSmallDenominator;
}

// A control and everything on it in the 800 x 600 size: places as the
// placement tables derive them, fonts rounded to the nearest pixel.
void ScaleDown(QWidget* w)
{
    const QRect g = w->geometry();
    w->setGeometry(Small(g.x()), Small(g.y()), Small(g.width()), Small(g.height()));
    if (w->testAttribute(Qt::WA_SetFont)) {
        QFont font = w->font();
        font.setPixelSize((font.pixelSize() * kSmallNumerator + kSmallDenominator / 2) /
                          kSmallDenominator);
        w->setFont(font);
    }
    for (QWidget* child : w->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        ScaleDown(child);
}

// A check box or radio button as large as its caption needs, as far as its
// group leaves room: the design sizes were made for another font.
void FitToCaption(QAbstractButton* b)
{
    int width = std::max(b->width(), b->sizeHint().width());
    if (QWidget* group = b->parentWidget())
        width = std::min(width, std::max(b->width(), group->width() - b->x() - kGroupMargin));
    b->resize(width, std::max(b->height(), b->fontMetrics().height()));
}

// A group as wide as its widest caption needs, up to the page's right edge.
void FitToCaptions(QGroupBox* g, int pageWidth)
{
    int width = g->width();
    for (QAbstractButton* b : g->findChildren<QAbstractButton*>(Qt::FindDirectChildrenOnly))
        width = std::max(width, b->x() + b->sizeHint().width() + kGroupMargin);
    g->resize(std::min(width, std::max(g->width(), pageWidth - g->x())), g->height());
}

int MinAutoTime(int exercise)
{
    switch (exercise) {
    case TS::PP:
        return 6;
    case TS::PNC:
        return 12;
    default:
        return 2;
    }
}

} // namespace

// Raises the updating counter for the life of a scope.
class CSettingsPages::CUpdating
{
public:
    explicit CUpdating(int* counter) : m_counter(counter) { ++*m_counter; }
    ~CUpdating() { --*m_counter; }
    CUpdating(const CUpdating&) = delete;
    CUpdating& operator=(const CUpdating&) = delete;

private:
    int* m_counter;
};

CSettingsPages::CSettingsPages(const std::array<QWidget*, PageCount>& pages, CPatient* patient,
                               const CWords* words, int* updatingCount)
    : m_patient(patient), m_words(words), m_updating(updatingCount ? updatingCount : &m_ownUpdating)
{
    CUpdating updating(m_updating);
    for (int i = 0; i < PageCount; ++i) {
        Build(i, pages[i]);
        Connect(m_pages[i]);
    }
}

CSettingsPages::~CSettingsPages() = default;

int CSettingsPages::ActivePatient() const
{
    return m_patient ? m_patient->ActiveId() : -1;
}

ExeSet& CSettingsPages::Block(int exercise)
{
    return m_patient->Settings().Get_ExeSet(exercise);
}

int CSettingsPages::ContentKind(int exercise)
{
    switch (exercise) {
    case TS::ZO:
        return CK_DESCRIBED;
    case TS::PWP:
    case TS::PWY:
    case TS::PP:
        return CK_PROVERBS;
    case TS::DC:
    case TS::PNC:
        return CK_ACTIONS;
    default:
        return CK_PICTURES;
    }
}

// ---- building

void CSettingsPages::BuildCategories(SPage& p, const char* group, const char* caption, QRect place,
                                     const char* const* names, const char* const* captions,
                                     int count, int left, int top, int step, int wszystkieTop)
{
    const int e = p.Exercise;
    p.gbKat = Make<QGroupBox>(p.tsh, Name(e, group), QString::fromUtf8(caption));
    p.gbKat->setGeometry(place);
    p.KatCount = count;
    const int width = place.width() - left - 8;
    for (int t = 0; t < count; ++t) {
        p.cbKat[t] = Make<QCheckBox>(p.gbKat, Name(e, names[t]), QString::fromUtf8(captions[t]));
        p.cbKat[t]->setGeometry(left, top + step * t, width, 18);
        p.cbKat[t]->setProperty("Tag", t);
    }
    p.cbWszystkie = Make<QCheckBox>(p.gbKat, Name(e, "cbWszystkie"), QStringLiteral("Wszystkie"));
    p.cbWszystkie->setGeometry(left, wszystkieTop, width, 18);
}

void CSettingsPages::Build(int e, QWidget* tsh)
{
    SPage& p = m_pages[e];
    p.Exercise = e;
    p.tsh = tsh;
    if (tsh->objectName().isEmpty())
        tsh->setObjectName(QLatin1String(kPageNames[e]));
    tsh->setFont(ArialBold(16));

    // A page of the window's page control may bring its title and rule.
    p.lbTitle = tsh->findChild<QLabel*>(QStringLiteral("lb%1_Title").arg(kCodes[e]));
    p.bevTitle = tsh->findChild<QFrame*>(QStringLiteral("bev%1_Title").arg(kCodes[e]));
    if (!p.lbTitle) {
        p.lbTitle =
            Make<QLabel>(tsh, QStringLiteral("lb%1_Title").arg(kCodes[e]), ExerciseTitle(e));
        p.lbTitle->setFont(ArialBold(35));
        QPalette navy = p.lbTitle->palette();
        navy.setColor(QPalette::WindowText, QColor(0, 0, 128));
        p.lbTitle->setPalette(navy);
        p.lbTitle->adjustSize();
        p.lbTitle->move(kDesignPageWidth / 2 - p.lbTitle->width() / 2, 0);
    }
    if (!p.bevTitle) {
        p.bevTitle = Make<QFrame>(tsh, QStringLiteral("bev%1_Title").arg(kCodes[e]));
        p.bevTitle->setGeometry(16, 48, 537, 3);
        p.bevTitle->setAutoFillBackground(true);
        QPalette rule = p.bevTitle->palette();
        rule.setBrush(QPalette::Window, QBrush(Qt::black, Qt::DiagCrossPattern));
        p.bevTitle->setPalette(rule);
    }

    p.gbLZ = Make<QGroupBox>(tsh, Name(e, "gbLZ"), QStringLiteral("Liczba zadań:"));
    p.gbLZ->setGeometry(32, 104, 185, 121);
    p.lbLZ = Make<QLabel>(p.gbLZ, Name(e, "lbLZ"));
    p.lbLZ->setFont(ArialBold(29));
    p.lbLZ->setGeometry(76, 38, 90, 34);
    p.sbLZ = HorizontalBar(p.gbLZ, Name(e, "sbLZ"), QRect(16, 88, 153, 17), 5);
    p.sbLZ->setRange(1, MaxTaskCount);

    const bool activity = e == TS::DC || e == TS::PNC;
    const int rightLeft = activity ? 288 : 256;
    auto rightGroup = [&](const char* name, const char* caption, int top = 104) {
        auto* gb = Make<QGroupBox>(tsh, Name(e, name), QString::fromUtf8(caption));
        gb->setGeometry(rightLeft, top, 265, 121);
        return gb;
    };
    auto choices = [&](const char* caption) {
        p.gbNazwyDoWyboru = rightGroup("gbNazwyDoWyboru", caption);
        p.rbDwa = Radio(p.gbNazwyDoWyboru, Name(e, "rbDwa"), "Dwa", 40, 32);
        p.rbTrzy = Radio(p.gbNazwyDoWyboru, Name(e, "rbTrzy"), "Trzy", 40, 56);
        p.rbCztery = Radio(p.gbNazwyDoWyboru, Name(e, "rbCztery"), "Cztery", 40, 80);
    };
    auto hint = [&] {
        p.gbPodpowiedz = rightGroup("gbPodpowiedz", "Auto podpowiedź:");
        p.rbPodpowiedzTak = Radio(p.gbPodpowiedz, Name(e, "rbPodpowiedzTak"), "Tak", 40, 40);
        p.rbPodpowiedzNie = Radio(p.gbPodpowiedz, Name(e, "rbPodpowiedzNie"), "Nie", 40, 72);
    };
    auto paging = [&] {
        p.gbPrzewijanie = rightGroup("gbPrzewijanie", "Przewijanie:");
        p.rbReczne = Radio(p.gbPrzewijanie, Name(e, "rbReczne"), "Ręczne", 32, 32);
        p.rbAuto =
            Radio(p.gbPrzewijanie, Name(e, "rbAuto"), "Automatyczne co 240 sek.", 32, 64, 225);
        p.sbAutoTime =
            HorizontalBar(p.gbPrzewijanie, Name(e, "sbAutoTime"), QRect(32, 88, 209, 17), 10);
        p.sbAutoTime->setRange(MinAutoTime(e), 240);
    };
    auto naming = [&] {
        // PNC's naming group bears PNO's prefix on the form.
        const int owner = e == TS::PNC ? int(TS::PNO) : e;
        p.gbSposobNazwania = Make<QGroupBox>(tsh, Name(owner, "gbSposobNazwania"),
                                             QStringLiteral("Sposób nazwania czynności:"));
        p.gbSposobNazwania->setGeometry(288, 247, 265, 122);
        p.rbCoPrzedstawia =
            Radio(p.gbSposobNazwania, Name(owner, "rbCoPrzedstawia"), "Co przedstawia?", 24, 40);
        p.rbCoRobi = Radio(p.gbSposobNazwania, Name(owner, "rbCoRobi"), "Co robi?", 24, 72);
    };
    auto pictures = [&] {
        // The nine shipped categories close up to make room for "Własne"
        // under "Wszystkie", which it is not part of.
        BuildCategories(p, "gbKatObr", "Kategorie obrazków:", QRect(32, 247, 185, 289),
                        kPictureNames, kPictureCaptions, 9, 16, 31, 22, 229);
        p.cbWlasne = Make<QCheckBox>(p.gbKat, Name(e, "cbWlasne"), QStringLiteral("Własne"));
        p.cbWlasne->setGeometry(16, 257, p.cbWszystkie->width(), 18);
    };
    auto proverbs = [&] {
        BuildCategories(p, "gbKatPrzyslow", "Kategorie przysłów:", QRect(32, 248, 185, 225),
                        kProverbNames, kProverbCaptions, 4, 32, 39, 32, 183);
    };
    auto actions = [&] {
        BuildCategories(p, "gbKatCzynnosci", "Kategorie czynności:", QRect(32, 248, 233, 289),
                        kActionNames, kActionCaptions, 9, 16, 31, 24, 255);
    };

    switch (e) {
    case TS::WY:
        choices("Nazwy do wyboru:");
        pictures();
        break;
    case TS::UK:
        hint();
        p.gbDodLitery = rightGroup("gbDodLitery", "Dodatkowe litery:", 248);
        p.rbDodLiteryTak = Radio(p.gbDodLitery, Name(e, "rbDodLiteryTak"), "Tak", 40, 40);
        p.rbDodLiteryNie = Radio(p.gbDodLitery, Name(e, "rbDodLiteryNie"), "Nie", 40, 72);
        pictures();
        break;
    case TS::WP:
    case TS::ZO:
        hint();
        pictures();
        break;
    case TS::PWP:
        proverbs();
        hint();
        break;
    case TS::PWY:
        proverbs();
        choices("Zdania do wyboru:");
        break;
    case TS::DC:
        actions();
        naming();
        choices("Nazwy do wyboru:");
        break;
    case TS::WYL:
        p.sbLZ->hide();
        paging();
        p.gbTypyWyliczanek =
            Make<QGroupBox>(tsh, Name(e, "gbTypyWyliczanek"), QStringLiteral("Typy ciągów:"));
        p.gbTypyWyliczanek->setGeometry(32, 248, 185, 153);
        p.cbDni =
            Make<QCheckBox>(p.gbTypyWyliczanek, Name(e, "cbDni"), QStringLiteral("Dni tygodnia"));
        p.cbMiesiace =
            Make<QCheckBox>(p.gbTypyWyliczanek, Name(e, "cbMiesiace"), QStringLiteral("Miesiące"));
        p.cbCyfry =
            Make<QCheckBox>(p.gbTypyWyliczanek, Name(e, "cbCyfry"), QStringLiteral("Cyfry"));
        p.cbDni->setGeometry(32, 39, 145, 18);
        p.cbMiesiace->setGeometry(32, 71, 145, 18);
        p.cbCyfry->setGeometry(32, 103, 145, 18);
        p.gbKolejnosc = rightGroup("gbKolejnosc", "Ułożenie kart:", 248);
        p.rbKolejno = Radio(p.gbKolejnosc, Name(e, "rbKolejno"), "Według kolejności", 32, 40, 225);
        p.rbLosowo = Radio(p.gbKolejnosc, Name(e, "rbLosowo"), "Losowo", 32, 72);
        break;
    case TS::PP:
        proverbs();
        paging();
        break;
    case TS::PNO:
        paging();
        pictures();
        break;
    case TS::PNC:
        paging();
        naming();
        actions();
        break;
    }
    // Group boxes and their controls in Arial 16 px bold, whatever the
    // window's own font.
    const QFont font = ArialBold(16);
    for (QWidget* w : tsh->findChildren<QWidget*>())
        if (qobject_cast<QGroupBox*>(w) || qobject_cast<QAbstractButton*>(w))
            w->setFont(font);
    FitCaptions(p);
}

void CSettingsPages::FitCaptions(SPage& p)
{
    // The automatic paging caption sized at its longest.
    const QString shown = p.rbAuto ? p.rbAuto->text() : QString();
    if (p.rbAuto)
        ShowAutoTime(p.rbAuto, 240);
    const int pageWidth = p.tsh->width() > 0 ? p.tsh->width() : kDesignPageWidth;
    for (QGroupBox* g : p.tsh->findChildren<QGroupBox*>())
        FitToCaptions(g, pageWidth);
    for (QAbstractButton* b : p.tsh->findChildren<QAbstractButton*>())
        FitToCaption(b);
    if (p.rbAuto)
        p.rbAuto->setText(shown);
}

void CSettingsPages::Connect(SPage& p)
{
    const int e = p.Exercise;
    QObject::connect(p.sbLZ, &QScrollBar::valueChanged, this,
                     [this, e](int v) { sbLZScroll(e, v); });
    for (int t = 0; t < p.KatCount; ++t)
        QObject::connect(p.cbKat[t], &QCheckBox::toggled, this,
                         [this, e, t](bool on) { cbKatClick(e, t, on); });
    if (p.cbWszystkie)
        QObject::connect(p.cbWszystkie, &QCheckBox::toggled, this,
                         [this, e](bool on) { cbWszystkieClick(e, on); });
    if (p.cbWlasne)
        QObject::connect(p.cbWlasne, &QCheckBox::toggled, this,
                         [this, e](bool on) { cbWlasneClick(e, on); });
    if (p.rbDwa) {
        int n = 2;
        for (QRadioButton* rb : {p.rbDwa, p.rbTrzy, p.rbCztery}) {
            QObject::connect(rb, &QRadioButton::toggled, this, [this, e, n](bool on) {
                if (on)
                    rbChoicesClick(e, n);
            });
            ++n;
        }
    }
    // A pair of radio buttons sets one bit: set when `setter` is selected.
    auto pair = [this, e](QRadioButton* setter, QRadioButton* other, int bit, int block) {
        for (QRadioButton* rb : {setter, other})
            QObject::connect(rb, &QRadioButton::toggled, this, [this, e, setter, bit, block] {
                if (Updating() == 0)
                    SetFlagBit(block < 0 ? e : block, bit, setter->isChecked());
            });
    };
    if (p.rbPodpowiedzTak)
        pair(p.rbPodpowiedzTak, p.rbPodpowiedzNie, TS::AutoHintBit, -1);
    if (p.rbDodLiteryTak)
        pair(p.rbDodLiteryTak, p.rbDodLiteryNie, TS::ExtraLettersBit, -1);
    if (p.rbReczne)
        pair(p.rbReczne, p.rbAuto, TS::ManualPagingBit, -1);
    if (p.rbLosowo)
        pair(p.rbLosowo, p.rbKolejno, TS::WylRandomBit, -1);
    if (p.rbCoRobi)
        for (QRadioButton* rb : {p.rbCoRobi, p.rbCoPrzedstawia})
            QObject::connect(rb, &QRadioButton::toggled, this,
                             [this, robi = p.rbCoRobi] { rbNamingClick(robi->isChecked()); });
    if (p.sbAutoTime)
        QObject::connect(p.sbAutoTime, &QScrollBar::valueChanged, this,
                         [this, e](int v) { sbAutoTimeScroll(e, v); });
    if (p.cbDni) {
        const std::pair<QCheckBox*, int> types[] = {{p.cbDni, TS::WylDaysBit},
                                                    {p.cbMiesiace, TS::WylMonthsBit},
                                                    {p.cbCyfry, TS::WylDigitsBit}};
        for (auto [cb, bit] : types)
            QObject::connect(cb, &QCheckBox::toggled, this,
                             [this, bit](bool on) { WylTypeClick(bit, on); });
    }
}

// ---- limits and captions

void CSettingsPages::SetTaskCountControls(QLabel* label, QScrollBar* bar, int count)
{
    label->setText(QString::number(count));
    bar->setRange(1, MaxTaskCount);
    bar->setValue(count);
}

void CSettingsPages::SetMinMax_LZ(QScrollBar* bar, QLabel* label, int contentKind, int wanted,
                                  ExeSet& block)
{
    CUpdating updating(m_updating);
    const int old = bar->value();
    int n = MaxTaskCount;
    if (m_words) {
        switch (contentKind) {
        case CK_PICTURES:
            n = m_words->CountWordsFor(block.Flags & 0xFFF, ActivePatient());
            break;
        case CK_DESCRIBED:
            n = m_words->CountDescribedWordsFor(block.Flags & 0xFFF, ActivePatient());
            break;
        case CK_PROVERBS:
            n = m_words->CountProverbs(block.Flags & 0xFF);
            break;
        case CK_ACTIONS:
            n = m_words->CountActions(block.Flags & 0xFFF);
            break;
        default:
            throw CError("SetMinMax_LZ: Nieprawidłowa akcja!");
        }
    }
    n = std::min(n, MaxTaskCount);
    if (n > 0)
        bar->setRange(1, n);
    else
        bar->setRange(0, 0);
    if (old < wanted)
        bar->setValue(wanted);
    if (bar->value() != old) {
        block.LZ = bar->value();
        label->setText(QString::number(block.LZ));
    }
}

void CSettingsPages::ShowAutoTime(QRadioButton* radio, int seconds)
{
    radio->setText(QStringLiteral("Automatycznie co ") + QString::number(seconds) +
                   QStringLiteral(" sek."));
}

void CSettingsPages::UpdateLimits(SPage& p)
{
    SetMinMax_LZ(p.sbLZ, p.lbLZ, ContentKind(p.Exercise), m_wantedLZ[p.Exercise],
                 Block(p.Exercise));
}

// ---- filling

void CSettingsPages::ShowSettings()
{
    CUpdating updating(m_updating);
    for (SPage& p : m_pages)
        FillPage(p);
}

void CSettingsPages::FillPage(SPage& p)
{
    const int e = p.Exercise;
    ExeSet& block = Block(e);
    if (e == TS::WYL) {
        SetTaskCountControls(p.lbLZ, p.sbLZ, block.LZ);
        p.cbDni->setChecked(block.Flags & TS::WylDaysBit);
        p.cbMiesiace->setChecked(block.Flags & TS::WylMonthsBit);
        p.cbCyfry->setChecked(block.Flags & TS::WylDigitsBit);
        p.rbKolejno->setChecked(!(block.Flags & TS::WylRandomBit));
        p.rbLosowo->setChecked(block.Flags & TS::WylRandomBit);
    } else {
        m_wantedLZ[e] = block.LZ;
        SetTaskCountControls(p.lbLZ, p.sbLZ, block.LZ);
        const int full = FullMask(p.KatCount);
        for (int t = 0; t < p.KatCount; ++t)
            p.cbKat[t]->setChecked(block.Flags & (1 << t));
        p.cbWszystkie->setChecked((block.Flags & full) == full);
        if (p.cbWlasne)
            p.cbWlasne->setChecked(block.Flags & CWords::OwnCategory);
        UpdateLimits(p);
    }
    if (p.sbAutoTime) {
        // A stored time outside the bar's range is corrected to it.
        p.sbAutoTime->setValue(block.AutoTime);
        block.AutoTime = p.sbAutoTime->value();
        ShowAutoTime(p.rbAuto, block.AutoTime);
        const bool manual = block.Flags & TS::ManualPagingBit;
        p.rbAuto->setChecked(!manual);
        p.rbReczne->setChecked(manual);
    }
    if (p.rbDwa) {
        const int choices = (block.Flags & TS::ChoicesMask) >> TS::ChoicesShift;
        (choices == 0 ? p.rbDwa : choices == 1 ? p.rbTrzy : p.rbCztery)->setChecked(true);
    }
    if (p.rbPodpowiedzTak) {
        const bool on = block.Flags & TS::AutoHintBit;
        (on ? p.rbPodpowiedzTak : p.rbPodpowiedzNie)->setChecked(true);
    }
    if (p.rbDodLiteryTak) {
        const bool on = block.Flags & TS::ExtraLettersBit;
        (on ? p.rbDodLiteryTak : p.rbDodLiteryNie)->setChecked(true);
    }
    if (p.rbCoRobi) {
        const bool robi = Block(TS::PNC).Flags & TS::ActionWhatDoesBit;
        (robi ? p.rbCoRobi : p.rbCoPrzedstawia)->setChecked(true);
    }
}

// ---- handlers

void CSettingsPages::sbLZScroll(int e, int position)
{
    if (Updating() > 0)
        return;
    Block(e).LZ = position;
    m_pages[e].lbLZ->setText(QString::number(position));
    if (e != TS::WYL)
        m_wantedLZ[e] = position;
}

void CSettingsPages::cbKatClick(int e, int tag, bool checked)
{
    if (Updating() > 0)
        return;
    SPage& p = m_pages[e];
    ExeSet& block = Block(e);
    if (checked)
        block.Flags |= 1 << tag;
    else
        block.Flags &= ~(1 << tag);
    CUpdating updating(m_updating);
    const int full = FullMask(p.KatCount);
    p.cbWszystkie->setChecked((block.Flags & full) == full);
    UpdateLimits(p);
}

void CSettingsPages::cbWszystkieClick(int e, bool checked)
{
    if (Updating() > 0)
        return;
    SPage& p = m_pages[e];
    ExeSet& block = Block(e);
    const int full = FullMask(p.KatCount);
    if (checked)
        block.Flags |= full;
    else
        block.Flags &= ~full;
    CUpdating updating(m_updating);
    for (int t = 0; t < p.KatCount; ++t)
        p.cbKat[t]->setChecked(checked);
    UpdateLimits(p);
}

void CSettingsPages::cbWlasneClick(int e, bool checked)
{
    if (Updating() > 0)
        return;
    SetFlagBit(e, CWords::OwnCategory, checked);
    CUpdating updating(m_updating);
    UpdateLimits(m_pages[e]);
}

void CSettingsPages::rbChoicesClick(int e, int choices)
{
    if (Updating() > 0)
        return;
    TS::SetChoices(Block(e), choices);
}

void CSettingsPages::SetFlagBit(int e, int bit, bool on)
{
    ExeSet& block = Block(e);
    if (on)
        block.Flags |= bit;
    else
        block.Flags &= ~bit;
}

// Naming is one setting of both activity exercises, kept in PNC's block: both
// pages show it.
void CSettingsPages::rbNamingClick(bool coRobi)
{
    if (Updating() > 0)
        return;
    SetFlagBit(TS::PNC, TS::ActionWhatDoesBit, coRobi);
    CUpdating updating(m_updating);
    for (int e : {int(TS::DC), int(TS::PNC)})
        (coRobi ? m_pages[e].rbCoRobi : m_pages[e].rbCoPrzedstawia)->setChecked(true);
}

void CSettingsPages::WylTypeClick(int bit, bool on)
{
    if (Updating() > 0)
        return;
    TS& settings = m_patient->Settings();
    if (bit == TS::WylDaysBit)
        settings.SetWylDays(on);
    else if (bit == TS::WylMonthsBit)
        settings.SetWylMonths(on);
    else
        settings.SetWylDigits(on);
    m_pages[TS::WYL].lbLZ->setText(QString::number(Block(TS::WYL).LZ));
}

void CSettingsPages::sbAutoTimeScroll(int e, int position)
{
    if (Updating() > 0)
        return;
    SPage& p = m_pages[e];
    Block(e).AutoTime = position;
    ShowAutoTime(p.rbAuto, position);
    p.rbAuto->setChecked(true);
}

// ---- layout

void CSettingsPages::AdjustForDisplayMode()
{
    if (DisplayMode != DM_800)
        return;
    for (SPage& p : m_pages)
        AdjustSmall(p);
}

// In 800 x 600 the page is smaller by the placement tables' factor: its
// controls and fonts shrink with it (the title and rule are the window's).
// Then the task count goes up under the title, the categories (or sequence
// types) under it, and the paging group beside it; the other right-hand
// groups keep their design alignment with the left-hand column.
void CSettingsPages::AdjustSmall(SPage& p)
{
    for (QWidget* w : p.tsh->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        if (w != p.lbTitle && w != p.bevTitle)
            ScaleDown(w);
    QGroupBox* below = p.gbKat ? p.gbKat : p.gbTypyWyliczanek;
    // Right-hand groups above this line belong to the upper row.
    const int rows = (p.gbLZ->y() + below->y()) / 2;
    p.gbLZ->move(p.gbLZ->x(), p.bevTitle->y() + 10);
    below->move(below->x(), p.gbLZ->y() + p.gbLZ->height());
    for (QGroupBox* g : {p.gbNazwyDoWyboru, p.gbPodpowiedz, p.gbPrzewijanie, p.gbDodLitery,
                         p.gbSposobNazwania, p.gbKolejnosc})
        if (g)
            g->move(g->x(), g->y() < rows ? p.gbLZ->y() : below->y());
    if (IsPaging(p.Exercise)) {
        const int left = p.gbLZ->x() + p.gbLZ->width() + 1;
        const int pageWidth = p.tsh->width() > 0 ? p.tsh->width() : Small(kDesignPageWidth);
        const int width = std::max(0, pageWidth - left);
        const int grow = width - p.gbPrzewijanie->width();
        p.gbPrzewijanie->setGeometry(left, p.gbLZ->y(), width, p.gbPrzewijanie->height());
        // The time bar keeps its distance to both edges.
        p.sbAutoTime->resize(std::max(0, p.sbAutoTime->width() + grow), p.sbAutoTime->height());
    }
    FitCaptions(p);
}
