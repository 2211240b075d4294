#include "mainwindow/TFormInfo.h"

#include "app/DisplayMode.h"

#include <QLabel>

namespace {

const TFormFullScreen::SSkin InfoSkin = {QRect(260, 326, 640, 450), QPoint(855, 765),
                                         QPoint(670, 598), 40, 39};

// One line of text as designed for 1280 x 960: its top, its left (for the
// credits: from the text block's left edge), its font height, its weight.
struct SLine
{
    const char* text;
    int top;
    int left;
    int fontPixels;
    bool bold;
};

const SLine NoticeLines[TFormInfo::NoticeCount] = {
    {"Loquena Cz. I – program wspomagający terapię afazji", 330, 0, 21, true},
    {"Właściciel programu: Varentis. Wszelkie prawa zastrzeżone.", 360, 0, 17, false},
    {"Program jest chroniony prawem autorskim. Kopiowanie,", 383, 0, 17, false},
    {"rozpowszechnianie i odsprzedaż programu lub jego części", 406, 0, 17, false},
    {"bez pisemnej zgody właściciela są zabronione.", 429, 0, 17, false},
    {"Program jest narzędziem pomocniczym dla terapeuty.", 452, 0, 17, false},
    {"Kontakt", 484, 0, 17, true},
    {"Pytania, uwagi i zgłoszenia błędów prosimy kierować", 507, 0, 17, false},
    {"do dystrybutora programu, firmy Varentis.", 530, 0, 17, false},
};

const SLine RoleLines[TFormInfo::RoleCount] = {
    {"W programie wykorzystano:", 566, 40, 17, true},
    {"Obrazki:", 592, 40, 16, true},
    {"Filmy:", 613, 40, 16, true},
    {"Mowa:", 634, 40, 16, true},
    {"Okna:", 655, 40, 16, true},
    {"Dźwięk i filmy:", 676, 40, 16, true},
    {"Bazy danych:", 697, 40, 16, true},
    {"Obrazy JPEG:", 718, 40, 16, true},
    {"Czcionka:", 739, 40, 16, true},
};

const SLine NameLines[TFormInfo::NameCount] = {
    {"Fluent UI Emoji © Microsoft Corporation (licencja MIT)", 592, 170, 16, false},
    {"animacje z obrazków Fluent UI Emoji", 613, 170, 16, false},
    {"syntezator mowy eSpeak NG, głos polski (licencja GPL 3)", 634, 170, 16, false},
    {"biblioteka Qt 6 (licencja LGPL 3)", 655, 170, 16, false},
    {"SDL 2 (licencja zlib), FFmpeg (licencja LGPL 2.1)", 676, 170, 16, false},
    {"SQLite (domena publiczna)", 697, 170, 16, false},
    {"libjpeg-turbo (licencje IJG i BSD)", 718, 170, 16, false},
    {"Liberation Sans (licencja SIL Open Font 1.1)", 739, 170, 16, false},
};

const QColor VersionColour(75, 1, 175);
const QColor VersionShadowColour(160, 160, 160);
const QColor NoticeColour(20, 30, 90);
const QColor CreditColour(40, 50, 80);

QLabel* NewLabel(QWidget* parent, const QString& name, const QString& text, const QColor& colour)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setAttribute(Qt::WA_TranslucentBackground);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, colour);
    label->setPalette(palette);
    return label;
}

void SetFont(QLabel* label, int pixels, bool bold)
{
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(std::max(1, pixels));
    font.setBold(bold);
    label->setFont(font);
    label->adjustSize();
}

int Scale(int value)
{
    return ScaleValue(value, DM_1280);
}

} // namespace

TFormInfo::TFormInfo(CBitmapsContainer* windows, CBitmapsContainer* buttons)
    : TFormFullScreen("FormInfo", InfoSkin, windows, buttons)
{
    const QString version = QStringLiteral("wersja 1.5");
    // The shadow first, so that the version is drawn over it.
    m_lbVer2 = NewLabel(this, QStringLiteral("lbVer2"), version, VersionShadowColour);
    m_lbVer = NewLabel(this, QStringLiteral("lbVer"), version, VersionColour);
    for (int i = 0; i < NoticeCount; ++i) {
        m_notice[i] = NewLabel(this, QStringLiteral("Label%1").arg(i + 1),
                               QString::fromUtf8(NoticeLines[i].text), NoticeColour);
        m_notice[i]->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    }
    for (int i = 0; i < RoleCount; ++i)
        m_roles[i] = NewLabel(this, QStringLiteral("L%1").arg(i + 1),
                              QString::fromUtf8(RoleLines[i].text), NoticeColour);
    for (int i = 0; i < NameCount; ++i)
        m_names[i] = NewLabel(this, QStringLiteral("A%1").arg(i + 1),
                              QString::fromUtf8(NameLines[i].text), CreditColour);
    LayOutLabels();
}

TFormInfo::~TFormInfo() = default;

// Positions designed for 1280 x 960, scaled to the display mode and hung
// from the text block, whose top the first notice line takes.
void TFormInfo::LayOutLabels()
{
    CDynamicPlace& block = TextBlock();
    const int left = block.Get_CLeft();
    const int top = block.Get_CTop();
    const int width = block.Get_CWidth();

    for (QLabel* label : {m_lbVer, m_lbVer2})
        SetFont(label, 19, false);
    m_lbVer->move(Scale(36) + OffsetX, Scale(40) + OffsetY);
    m_lbVer2->move(m_lbVer->x() + 1, m_lbVer->y() + 1);

    const int a = top - Scale(NoticeLines[0].top);
    for (int i = 0; i < NoticeCount; ++i) {
        SetFont(m_notice[i], Scale(NoticeLines[i].fontPixels), NoticeLines[i].bold);
        m_notice[i]->setGeometry(left, a + Scale(NoticeLines[i].top), width, m_notice[i]->height());
    }
    auto place = [&](QLabel* label, const SLine& line) {
        SetFont(label, Scale(line.fontPixels), line.bold);
        label->move(left + Scale(line.left), a + Scale(line.top));
    };
    for (int i = 0; i < RoleCount; ++i)
        place(m_roles[i], RoleLines[i]);
    for (int i = 0; i < NameCount; ++i)
        place(m_names[i], NameLines[i]);
}
