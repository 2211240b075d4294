#include "SkinMap.h"

#include "PhotoSize.h"
#include "SkinArt.h"
#include "SkinPictures.h"

#include <QPainter>
#include <array>

using namespace SkinArt;

namespace {

// Sizes are designed once for 1024x768 and multiplied by 5/4 for 1280x960,
// the factor the layouts use between the two modes.
QSize Up(QSize s1024)
{
    return QSize((s1024.width() * 10 + 4) / 8, (s1024.height() * 10 + 4) / 8);
}

SkinImages Pair(const ImagePair& p, bool withMask)
{
    return {p.image, {}, withMask ? p.mask : QImage()};
}

struct Builder
{
    std::vector<SkinItem> items;

    SkinItem& Add(SkinFile file, SkinMode mode, const QString& shows, QSize size, int image,
                  int mask, bool ownsMask, std::function<SkinImages()> paint)
    {
        SkinItem it;
        it.file = file;
        it.mode = mode;
        it.shows = shows;
        it.size = size;
        it.image = image;
        it.mask = mask;
        it.ownsMask = ownsMask && mask >= 0;
        it.paint = std::move(paint);
        items.push_back(std::move(it));
        return items.back();
    }

    // A card in one look; the normal look owns the mask unless told otherwise.
    void CardLook(SkinFile f, SkinMode m, const QString& shows, QSize size, int image, int mask,
                  bool owns, Look look, const QColor& face = Ink::Face)
    {
        Add(f, m, shows, size, image, mask, owns,
            [=] { return Pair(Card(size, look, {}, 0, face, !owns), owns); });
    }

    // Three looks of a button, each state (image, mask) at first + 2k, first + 2k + 1.
    void ButtonStates(SkinFile f, SkinMode m, const QString& shows, QSize size, int first,
                      const QColor& face,
                      const std::function<void(QPainter&, const QRectF&, const QColor&)>& icon,
                      const QString& caption = {})
    {
        const Look looks[3] = {Look::Normal, Look::Hot, Look::Pressed};
        const char* names[3] = {"normal", "hover", "pressed"};
        for (int k = 0; k < 3; ++k) {
            const Look look = looks[k];
            Add(f, m, shows + ", " + names[k], size, first + 2 * k, first + 2 * k + 1, true,
                [=] { return Pair(Button(size, look, face, icon, caption), true); });
        }
    }

    // A main-window button: three states (colour, grey, mask).
    void MainButton(const QString& shows, QSize size, const std::array<int, 9>& idx,
                    const QColor& face,
                    const std::function<void(QPainter&, const QRectF&, const QColor&, bool)>& icon,
                    const QString& caption, const QString& greyCaption)
    {
        const Look looks[3] = {Look::Normal, Look::Hot, Look::Pressed};
        const char* names[3] = {"normal", "hover", "pressed"};
        for (int k = 0; k < 3; ++k) {
            const Look look = looks[k];
            SkinItem& it =
                Add(SkinFile::Bttofa, SkinMode::Scaled1024, shows + ", " + names[k], size,
                    idx[3 * k], idx[3 * k + 2], true, [=] {
                        auto colourIcon = [&](QPainter& p, const QRectF& b, const QColor& ink) {
                            icon(p, b, ink, true);
                        };
                        auto greyIcon = [&](QPainter& p, const QRectF& b, const QColor& ink) {
                            icon(p, b, ink, false);
                        };
                        const ImagePair c = Button(size, look, face, colourIcon, caption);
                        const ImagePair g = Button(size, look, face, greyIcon, greyCaption, true);
                        return SkinImages{c.image, g.image, c.mask};
                    });
            it.mono = idx[3 * k + 1];
        }
    }
};

auto TextIcon(const QString& text)
{
    return [text](QPainter& p, const QRectF& b, const QColor& ink) {
        const QRectF r = b.adjusted(-b.width() * 0.3, 0, b.width() * 0.3, 0);
        DrawFittedText(p, r.toRect(), text, int(b.height() * 0.75), Qt::AlignCenter, ink);
    };
}

const QColor kBlue(60, 118, 180);
const QColor kGreen(58, 140, 72);
const QColor kRed(184, 64, 52);
const QColor kYellow(246, 206, 92);

const QStringList kTitles = {"Wybieranie nazwy",          "Układanie nazwy",
                             "Wpisywanie nazwy",          "Zadania opisowe",
                             "Przysłowia - wpisywanie",   "Przysłowia - wybieranie",
                             "Dopasowanie czynności",     "Zautomatyzowane ciągi słowne",
                             "Powtarzanie przysłów",      "Powtarzanie nazw obrazków",
                             "Powtarzanie nazw czynności"};

void AddCextb(Builder& b)
{
    const SkinFile F = SkinFile::Cextb;
    const SkinMode M12 = SkinMode::Only1280, M10 = SkinMode::Only1024, ALL = SkinMode::AllModes;

    // Menu strip buttons. The strip is 71 (89) pixels high; the buttons sit 3 pixels down.
    b.ButtonStates(F, ALL, "stop button (ends or pauses the therapy)", {64, 64}, 0, kRed,
                   Icon::Stop);
    b.ButtonStates(F, M10, "hint button", {64, 64}, 6, kYellow, Icon::Bulb);
    b.ButtonStates(F, M12, "hint button", {80, 80}, 336, kYellow, Icon::Bulb);
    b.ButtonStates(F, M10, "forward button", {64, 64}, 12, kBlue, Icon::ArrowRight);
    b.ButtonStates(F, M12, "forward button", {80, 80}, 316, kBlue, Icon::ArrowRight);
    b.ButtonStates(F, M10, "back button", {64, 64}, 18, kBlue, Icon::ArrowLeft);
    b.ButtonStates(F, M12, "back button", {80, 80}, 322, kBlue, Icon::ArrowLeft);

    // Menu strip background.
    b.Add(F, M10, "menu strip background (pbMenu)", {1024, 71}, 92, -1, false, [] {
         return SkinImages{MenuStrip({1024, 71}, 1.0), {}, {}};
     }).fixedSize = true;
    b.Add(F, M12, "menu strip background (pbMenu)", {1280, 89}, 93, -1, false, [] {
         return SkinImages{MenuStrip({1280, 89}, 1.25), {}, {}};
     }).fixedSize = true;

    // The exercise combo box and its drop-down menu.
    struct MenuSet
    {
        SkinMode mode;
        QSize box, edge, item, caption;
        int normal, hot, pressed, header, footer, itemBack, itemHot;
        std::array<int, 11> captions;
    };
    const MenuSet sets[2] = {{M10,
                              {290, 48},
                              {290, 16},
                              {290, 30},
                              {230, 28},
                              34,
                              32,
                              30,
                              26,
                              24,
                              28,
                              29,
                              {64, 60, 62, 68, 56, 58, 48, 66, 54, 52, 50}},
                             {M12,
                              {362, 60},
                              {362, 20},
                              {362, 37},
                              {288, 35},
                              46,
                              44,
                              42,
                              38,
                              36,
                              40,
                              41,
                              {86, 82, 84, 90, 78, 80, 70, 88, 76, 74, 72}}};
    for (const MenuSet& s : sets) {
        const QSize box = s.box;
        b.Add(F, s.mode, "exercise menu box, normal", box, s.normal, s.normal + 1, true,
              [=] { return Pair(ComboBox(box, Look::Normal), true); });
        b.Add(F, s.mode, "exercise menu box, hover", box, s.hot, s.hot + 1, true,
              [=] { return Pair(ComboBox(box, Look::Hot), true); });
        b.Add(F, s.mode, "exercise menu box, pressed", box, s.pressed, s.pressed + 1, true,
              [=] { return Pair(ComboBox(box, Look::Pressed), true); });
        const QSize edge = s.edge;
        b.Add(F, s.mode, "drop-down menu header (top edge)", edge, s.header, s.header + 1, true,
              [=] { return Pair(MenuEdge(edge, true), true); });
        b.Add(F, s.mode, "drop-down menu footer (bottom edge)", edge, s.footer, s.footer + 1, true,
              [=] { return Pair(MenuEdge(edge, false), true); });
        const QSize item = s.item;
        b.Add(F, s.mode, "menu item background (first row is repeated)", item, s.itemBack, -1,
              false, [=] {
                  return SkinImages{MenuItemBack(item, false), {}, {}};
              });
        b.Add(F, s.mode, "menu item background, highlighted", item, s.itemHot, -1, false, [=] {
            return SkinImages{MenuItemBack(item, true), {}, {}};
        });
        for (int i = 0; i < 11; ++i) {
            const QString title = kTitles[i];
            const QSize cap = s.caption;
            b.Add(F, s.mode, QString("menu title of exercise %1: \"%2\"").arg(i).arg(title), cap,
                  s.captions[i], s.captions[i] + 1, true,
                  [=] { return Pair(TextPicture(cap, title, Ink::Navy), true); });
        }
    }

    // Photo frame and photo mask.
    const QSize photo10 = PhotoSize1024, photo12 = PhotoSize1280;
    const QSize frame10 = photo10 + QSize(10, 8), frame12 = photo12 + QSize(10, 8);
    b.Add(F, M10, "photo frame (photo at 5, 4 inside)", frame10, 198, 199, true, [=] {
         return Pair(PhotoFrame(frame10, photo10), true);
     }).fixedSize = true;
    b.Add(F, M12, "photo frame (photo at 5, 4 inside)", frame12, 201, 202, true, [=] {
         return Pair(PhotoFrame(frame12, photo12), true);
     }).fixedSize = true;
    b.Add(F, M10, "photo mask (the photographs' size)", photo10, -1, 200, true, [=] {
         return SkinImages{{}, {}, PhotoMask(photo10)};
     }).fixedSize = true;
    b.Add(F, M12, "photo mask (the photographs' size)", photo12, -1, 203, true, [=] {
         return SkinImages{{}, {}, PhotoMask(photo12)};
     }).fixedSize = true;
    b.Add(F, M10, "ZO placeholder picture (photo mask size)", photo10, 344, -1, false, [=] {
         return SkinImages{Placeholder(photo10), {}, {}};
     }).fixedSize = true;
    b.Add(F, M12, "ZO placeholder picture (photo mask size)", photo12, 345, -1, false, [=] {
         return SkinImages{Placeholder(photo12), {}, {}};
     }).fixedSize = true;

    // Labels of the exercises (the program writes their texts).
    const QColor hintFace(255, 244, 196);
    struct LabelSet
    {
        QString shows;
        QSize s1024;
        int normal10, mask10, normal12, mask12;
    };
    const LabelSet plain[] = {
        {"name / input label (WY, WP, ZO, PNO)", {400, 58}, 204, 205, 206, 207},
        {"description label (ZO, word-wrapped)", {979, 112}, 328, 329, 330, 331},
        {"caption / input label (PWP, PNC)", {674, 54}, 332, 333, 334, 335},
    };
    for (const LabelSet& l : plain) {
        b.CardLook(F, M10, l.shows, l.s1024, l.normal10, l.mask10, true, Look::Normal);
        b.CardLook(F, M12, l.shows, Up(l.s1024), l.normal12, l.mask12, true, Look::Normal);
    }
    b.CardLook(F, M10, "hint label (WP)", {400, 58}, 216, 205, false, Look::Normal, hintFace);
    b.CardLook(F, M12, "hint label (WP)", Up({400, 58}), 217, 207, false, Look::Normal, hintFace);
    b.CardLook(F, M10, "hint label (PWP)", {674, 54}, 342, 333, false, Look::Normal, hintFace);
    b.CardLook(F, M12, "hint label (PWP)", Up({674, 54}), 343, 335, false, Look::Normal, hintFace);

    // Clickable choice labels: normal (own mask), highlighted, pressed.
    struct ChoiceSet
    {
        QString shows;
        QSize s1024;
        int n10, m10, h10, hm10, p10, n12, m12, h12, hm12, p12;
    };
    const ChoiceSet choices[] = {
        {"WY name choice", {432, 78}, 210, 211, 209, -1, 208, 214, 215, 213, -1, 212},
        {"PWY ending / DC caption choice",
         {674, 67},
         304,
         305,
         306,
         307,
         308,
         310,
         311,
         312,
         313,
         314},
    };
    for (const ChoiceSet& c : choices) {
        for (int mode = 0; mode < 2; ++mode) {
            const bool big = mode == 1;
            const SkinMode m = big ? M12 : M10;
            const QSize size = big ? Up(c.s1024) : c.s1024;
            const int n = big ? c.n12 : c.n10, nm = big ? c.m12 : c.m10;
            const int h = big ? c.h12 : c.h10, hm = big ? c.hm12 : c.hm10;
            const int p = big ? c.p12 : c.p10;
            b.CardLook(F, m, c.shows + ", normal", size, n, nm, true, Look::Normal);
            if (hm >= 0)
                b.CardLook(F, m, c.shows + ", highlighted", size, h, hm, true, Look::Hot);
            else
                b.CardLook(F, m, c.shows + ", highlighted", size, h, nm, false, Look::Hot);
            b.CardLook(F, m, c.shows + ", pressed / ruled out", size, p, nm, false, Look::Pressed);
        }
    }

    // Proverb beginning label (PWP, PWY, PP): normal, lit (with a grey variant), pressed.
    for (int mode = 0; mode < 2; ++mode) {
        const bool big = mode == 1;
        const SkinMode m = big ? M12 : M10;
        const QSize size = big ? Up({808, 90}) : QSize(808, 90);
        const int n = big ? 233 : 228, mk = big ? 234 : 229, lit = big ? 232 : 227,
                  litGrey = big ? 235 : 230, p = big ? 231 : 226;
        b.CardLook(F, m, "proverb label (PWP, PWY, PP), normal", size, n, mk, true, Look::Normal);
        SkinItem& l = b.Add(F, m, "proverb label (PP), lit", size, lit, mk, false, [=] {
            const ImagePair c = Card(size, Look::Hot, {}, 0, Ink::Face, true);
            CardStyle g;
            g.top = QColor(214, 214, 214);
            g.low = QColor(188, 188, 188);
            g.border = QColor(0, 0, 0);
            g.borderWidth = StyleFor(Look::Hot, Ink::Face, size).borderWidth + 2;
            return SkinImages{c.image, ToGrey(StyledCard(size, g, false).image), {}};
        });
        l.mono = litGrey;
        b.CardLook(F, m, "proverb label (PP), pressed", size, p, mk, false, Look::Pressed);
    }

    // Graph timer picture.
    b.Add(F, ALL, "graph-timer picture (automatic paging)", {44, 44}, 218, 219, true, [] {
        return Pair(TimerPicture({44, 44}), true);
    });

    // On-screen alphabet: dim overlay and the 32 letter tiles.
    const QString letters = QStringLiteral("AĄBCĆDEĘFGHIJKLŁMNŃOÓPRSŚTUWYZŹŻ");
    const QSize tile10(58, 58), tile12(72, 72);
    b.Add(F, M10, "dim overlay of a ruled-out letter", tile10, 236, 237, true,
          [=] { return Pair(DimOverlay(tile10), true); });
    b.Add(F, M12, "dim overlay of a ruled-out letter", tile12, 238, 239, true,
          [=] { return Pair(DimOverlay(tile12), true); });
    for (int i = 0; i < letters.size(); ++i) {
        const QString l = letters.mid(i, 1);
        b.Add(F, M10, QString("letter tile \"%1\"").arg(l), tile10, 240 + i, -1, false, [=] {
             return SkinImages{LetterTile(tile10, l), {}, {}};
         }).fixedSize = true;
        b.Add(F, M12, QString("letter tile \"%1\"").arg(l), tile12, 272 + i, -1, false, [=] {
             return SkinImages{LetterTile(tile12, l), {}, {}};
         }).fixedSize = true;
    }

    // Replay button (DC, PNC).
    b.ButtonStates(F, M10, "replay button (DC, PNC)", {76, 76}, 352, kBlue, Icon::Replay);
    b.ButtonStates(F, M12, "replay button (DC, PNC)", {96, 96}, 346, kBlue, Icon::Replay);

    // Cards of the automated sequences (WYL).
    const QStringList days = {"Poniedziałek", "Wtorek", "Środa",    "Czwartek",
                              "Piątek",       "Sobota", "Niedziela"};
    const QStringList months = {"Styczeń",  "Luty",        "Marzec",   "Kwiecień",
                                "Maj",      "Czerwiec",    "Lipiec",   "Sierpień",
                                "Wrzesień", "Październik", "Listopad", "Grudzień"};
    const QStringList numbers = {"jeden", "dwa",    "trzy",  "cztery",   "pięć",
                                 "sześć", "siedem", "osiem", "dziewięć", "dziesięć"};
    const QColor dayBand(84, 132, 196), monthBand(70, 150, 96), digitBand(214, 132, 52);
    auto group = [&](const QString& what, const QStringList& texts, int first10, int mask10,
                     int first12, int mask12, int ownFirst10, int ownFirst12, QSize s10,
                     CardKind kind, const QColor& band) {
        for (int mode = 0; mode < 2; ++mode) {
            const bool big = mode == 1;
            const SkinMode m = big ? M12 : M10;
            const QSize size = big ? Up(s10) : s10;
            const int firstIdx = big ? first12 : first10, mk = big ? mask12 : mask10;
            const int ownFirst = big ? ownFirst12 : ownFirst10;
            for (int i = 0; i < texts.size(); ++i) {
                // the first card of a group sits before its mask, the others after it
                const int idx = i == 0 ? firstIdx : ownFirst + i - 1;
                const QString t = texts[i];
                const bool owns = i == 0 && mk == firstIdx + 1;
                b.Add(F, m, QString("%1 %2: \"%3\"").arg(what).arg(i + 1).arg(t), size, idx, mk,
                      owns, [=] { return Pair(SequenceCard(size, kind, t, i + 1, band), owns); });
            }
        }
    };
    group("day card", days, 125, 126, 177, 178, 127, 179, {262, 420}, CardKind::Word, dayBand);
    group("month card", months, 133, 134, 185, 186, 135, 187, {262, 420}, CardKind::Word,
          monthBand);
    group("counting card A (numeral)", numbers, 94, 95, 146, 147, 96, 148, {274, 380},
          CardKind::Numeral, digitBand);
    // B and C have no mask of their own: they use card A's.
    group("counting card B (word)", numbers, 115, 95, 167, 147, 116, 168, {274, 380},
          CardKind::Word, digitBand);
    group("counting card C (dots)", numbers, 105, 95, 157, 147, 106, 158, {274, 380},
          CardKind::Dots, digitBand);
}

void AddGrwin(Builder& b)
{
    const SkinFile F = SkinFile::Grwin;
    const SkinMode M12 = SkinMode::Only1280, M10 = SkinMode::Only1024, ALL = SkinMode::AllModes;

    b.Add(F, M10, "tick mark of a bookmark square", {20, 20}, 0, 1, true, [] {
        return Pair(TickMark({20, 20}), true);
    });
    b.Add(F, M12, "tick mark of a bookmark square", {26, 26}, 2, 3, true, [] {
        return Pair(TickMark({26, 26}), true);
    });

    auto bg = [&](SkinMode m, int idx, QSize size, const QString& shows,
                  std::function<QImage()> paint) {
        SkinItem& it = b.Add(F, m, shows, size, idx, -1, false, [paint] {
            return SkinImages{paint(), {}, {}};
        });
        it.fixedSize = true;
        it.jpeg = true;
    };
    bg(M10, 4, {1024, 768}, "main window background", [] { return MainBackground(1.0); });
    bg(M12, 5, {1280, 960}, "main window background", [] { return MainBackground(1.25); });
    bg(M10, 34, {1024, 768}, "help window background with the help text",
       [] { return HelpBackground(1.0); });
    bg(M12, 35, {1280, 960}, "help window background with the help text",
       [] { return HelpBackground(1.25); });
    bg(M10, 39, {1024, 768}, "information window background", [] { return InfoBackground(1.0); });
    bg(M12, 40, {1280, 960}, "information window background", [] { return InfoBackground(1.25); });

    const QStringList marks = QStringList{"Pacjenci", "Statystyka"} + kTitles;
    for (int mode = 0; mode < 2; ++mode) {
        const bool big = mode == 1;
        const SkinMode m = big ? M12 : M10;
        const QSize size = big ? QSize(260, 796) : QSize(210, 638);
        const int none = big ? 20 : 6;
        b.Add(F, m, "bookmark strip, no bookmark raised", size, none, -1, false, [=] {
             return SkinImages{BookmarkStrip(big, -1, marks), {}, {}};
         }).fixedSize = true;
        for (int i = 0; i < 13; ++i) {
            b.Add(F, m, QString("bookmark strip, \"%1\" raised").arg(marks[i]), size, none + 1 + i,
                  -1, false,
                  [=] {
                      return SkinImages{BookmarkStrip(big, i, marks), {}, {}};
                  })
                .fixedSize = true;
        }
    }

    b.Add(F, ALL, "message and result window frame source (tiled)", {200, 200}, 36, -1, false, [] {
        return SkinImages{FrameSource({200, 200}), {}, {}};
    });
    b.Add(F, ALL, "wait picture", {360, 150}, 37, 38, true, [] {
        return Pair(WaitPicture({360, 150}), true);
    });
}

void AddBttofa(Builder& b)
{
    const SkinFile F = SkinFile::Bttofa;
    const SkinMode ALL = SkinMode::AllModes, BOTH = SkinMode::Only1280And1024;
    const QSize main(88, 70);
    b.MainButton(
        "start button", {100, 200}, {0, 44, 1, 2, 43, 3, 4, 42, 5}, kGreen,
        [](QPainter& p, const QRectF& r, const QColor& ink, bool) { Icon::Play(p, r, ink); },
        "Start", "Start");
    b.MainButton(
        "information button", main, {6, 38, 7, 8, 37, 9, 10, 36, 11}, kBlue,
        [](QPainter& p, const QRectF& r, const QColor& ink, bool) { Icon::Info(p, r, ink); },
        "Informacje", "Informacje");
    b.MainButton(
        "exit button", main, {12, 47, 13, 14, 46, 15, 16, 45, 17}, kRed,
        [](QPainter& p, const QRectF& r, const QColor& ink, bool) { Icon::Exit(p, r, ink); },
        "Wyjście", "Wyjście");
    b.MainButton(
        "help button", main, {18, 41, 19, 20, 40, 21, 22, 39, 23}, kBlue,
        [](QPainter& p, const QRectF& r, const QColor& ink, bool) { Icon::Question(p, r, ink); },
        "Pomoc", "Pomoc");
    b.MainButton(
        "colour / grey button", main, {24, 30, 25, 26, 32, 27, 28, 34, 29}, kBlue,
        [](QPainter& p, const QRectF& r, const QColor& ink, bool colour) {
            Icon::Palette(p, r, ink, colour);
        },
        "Szarość", "Kolor");

    b.ButtonStates(F, ALL, "close button (information, help)", {64, 64}, 48, kBlue, Icon::Close);
    b.ButtonStates(F, ALL, "\"Tak\" button (message, result)", {64, 64}, 54, kGreen,
                   TextIcon("Tak"));
    b.ButtonStates(F, ALL, "\"Nie\" button (message, result)", {64, 64}, 60, kRed, TextIcon("Nie"));
    b.ButtonStates(F, ALL, "\"OK\" button (message)", {64, 64}, 66, kBlue, TextIcon("OK"));
    b.ButtonStates(
        F, ALL, "add patient button", {48, 48}, 72, Ink::Face,
        [](QPainter& p, const QRectF& r, const QColor&) { Icon::Plus(p, r, QColor(30, 130, 50)); });
    b.ButtonStates(F, ALL, "edit patient button", {48, 48}, 78, Ink::Face,
                   [](QPainter& p, const QRectF& r, const QColor&) {
                       Icon::Pencil(p, r, QColor(40, 80, 160));
                   });
    b.ButtonStates(F, ALL, "delete patient button", {48, 48}, 84, Ink::Face,
                   [](QPainter& p, const QRectF& r, const QColor&) {
                       Icon::Trash(p, r, QColor(180, 40, 40));
                   });
    b.ButtonStates(F, BOTH, "record button (statistics page)", {44, 44}, 90, Ink::Face,
                   Icon::Record);
    b.ButtonStates(
        F, BOTH, "play button (statistics page)", {44, 44}, 96, Ink::Face,
        [](QPainter& p, const QRectF& r, const QColor&) { Icon::Play(p, r, QColor(30, 130, 50)); });
    b.ButtonStates(F, BOTH, "stop button (statistics page)", {44, 44}, 102, Ink::Face, Icon::Stop);
    b.ButtonStates(F, BOTH, "delete recording button (statistics page)", {44, 44}, 108, Ink::Face,
                   [](QPainter& p, const QRectF& r, const QColor&) {
                       Icon::Trash(p, r, QColor(180, 40, 40));
                   });
}

std::vector<SkinItem> BuildMap()
{
    Builder b;
    AddGrwin(b);
    AddBttofa(b);
    AddCextb(b);
    // Large pictures go in as JPEG to keep the containers small; masks and
    // small images (buttons, tiles) stay exact BMP.
    for (SkinItem& it : b.items)
        if (it.size.width() * it.size.height() >= 100000)
            it.jpeg = true;
    return std::move(b.items);
}

} // namespace

const std::vector<SkinItem>& SkinMap()
{
    static const std::vector<SkinItem> map = BuildMap();
    return map;
}

QString SkinFileName(SkinFile file)
{
    switch (file) {
    case SkinFile::Grwin:
        return "grwin.bc";
    case SkinFile::Bttofa:
        return "bttofa.bc";
    case SkinFile::Cextb:
        return "cextb.bc";
    }
    return {};
}

QString SkinModeText(SkinMode mode)
{
    switch (mode) {
    case SkinMode::Only1280:
        return "1280x960";
    case SkinMode::Only1024:
        return "1024x768";
    case SkinMode::Only1280And1024:
        return "1280x960 and 1024x768";
    case SkinMode::AllModes:
        return "all modes";
    case SkinMode::Scaled1024:
        return "1024x768 (scaled in the others)";
    }
    return {};
}

std::vector<SkinIndexRow> SkinIndexRows(SkinFile file)
{
    std::vector<SkinIndexRow> rows;
    for (const SkinItem& it : SkinMap()) {
        if (it.file != file)
            continue;
        if (it.image >= 0)
            rows.push_back({it.image, "image", &it});
        if (it.mono >= 0)
            rows.push_back({it.mono, "grey image", &it});
        if (it.ownsMask)
            rows.push_back({it.mask, "mask", &it});
    }
    std::sort(rows.begin(), rows.end(),
              [](const SkinIndexRow& a, const SkinIndexRow& b) { return a.index < b.index; });
    return rows;
}
