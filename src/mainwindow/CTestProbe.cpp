#include "mainwindow/CTestProbe.h"
#include "app/ScreenScaling.h"

#include "content/ContentSound.h"
#include "controls/CKompAlphabet.h"
#include "controls/CKompLabel.h"
#include "controls/CKompPhoto.h"
#include "controls/CKompTable.h"
#include "controls/CTableBlock.h"
#include "controls/CTableBox.h"
#include "exercises/CExerciseDC.h"
#include "exercises/CExercisePNC.h"
#include "exercises/CExercisePWP.h"
#include "exercises/CExercisePWY.h"
#include "exercises/CExerciseUK.h"
#include "exercises/CExerciseWP.h"
#include "exercises/CExerciseWY.h"
#include "exercises/CExerciseZO.h"
#include "graphics/CTransButton.h"
#include "mainwindow/CKompBookmarks.h"
#include "mainwindow/TFormMain.h"
#include "statistics/CStatEx.h"
#include "therapy/TFormTherapy.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSaveFile>
#include <QScreen>
#include <QScrollBar>
#include <QTreeWidget>
#include <algorithm>
#include <cxxabi.h>
#include <typeinfo>

namespace {
// The tab-separated lines: a tag, then fields; texts come last, their line
// breaks and tabs made spaces.
class CLines
{
public:
    CLines& operator<<(const QString& field)
    {
        QString clean = field;
        clean.replace(QLatin1Char('\t'), QLatin1Char(' '))
            .replace(QLatin1Char('\n'), QLatin1Char(' '));
        m_line << clean;
        return *this;
    }
    CLines& operator<<(int value) { return *this << QString::number(value); }
    CLines& operator<<(const QRect& r)
    {
        return *this << r.x() << r.y() << r.width() << r.height();
    }
    void End()
    {
        m_text += m_line.join(QLatin1Char('\t')) + QLatin1Char('\n');
        m_line.clear();
    }
    const QString& Text() const { return m_text; }

private:
    QStringList m_line;
    QString m_text;
};

// Places are written in screen pixels, where a click lands: the design's
// pixels times the screen's scale (1 at the design's own size).
double ScreenScale()
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->devicePixelRatio() : 1.0;
}

QPoint ScreenPoint(QPoint design)
{
    const double f = ScreenScale();
    return {DesignToScreen(design.x(), f), DesignToScreen(design.y(), f)};
}

QRect GlobalRect(const QWidget* w, const QRect& local)
{
    const QRect design = local.translated(w->mapToGlobal(QPoint(0, 0)));
    return {ScreenPoint(design.topLeft()),
            ScreenPoint(design.bottomRight() + QPoint(1, 1)) - QPoint(1, 1)};
}

QString ClassName(const QWidget* w)
{
    const char* mangled = typeid(*w).name();
    int status = 0;
    char* plain = abi::__cxa_demangle(mangled, nullptr, nullptr, &status);
    const QString name = QString::fromLatin1(status == 0 && plain ? plain : mangled);
    std::free(plain);
    return name;
}

QString TextOf(const QWidget* w)
{
    if (const auto* b = qobject_cast<const QAbstractButton*>(w))
        return b->text();
    if (const auto* l = qobject_cast<const QLabel*>(w))
        return l->text();
    if (const auto* g = qobject_cast<const QGroupBox*>(w))
        return g->title();
    if (const auto* e = qobject_cast<const QLineEdit*>(w))
        return e->text();
    if (const auto* c = qobject_cast<const QComboBox*>(w))
        return c->currentText();
    if (const auto* m = qobject_cast<const QPlainTextEdit*>(w))
        return m->toPlainText();
    if (const auto* s = qobject_cast<const QScrollBar*>(w))
        return QStringLiteral("%1 %2 %3").arg(s->value()).arg(s->minimum()).arg(s->maximum());
    if (const auto* k = dynamic_cast<const CKompLabel*>(w))
        return k->Text;
    if (w->isWindow())
        return w->windowTitle();
    return {};
}

QString FlagsOf(const QWidget* w)
{
    // A skinned button shows itself disabled while its widget stays enabled.
    const auto* skinned = dynamic_cast<const CTransButton*>(w);
    const bool enabled =
        w->isEnabled() && !(skinned && skinned->State() == CTransButton::EState::Disabled);
    QString flags = enabled ? QStringLiteral("e") : QStringLiteral("d");
    if (const auto* b = qobject_cast<const QAbstractButton*>(w); b && b->isChecked())
        flags += QLatin1Char('c');
    return flags;
}

void Widgets(CLines& out, const QWidget* top)
{
    QList<const QWidget*> all{top};
    for (const QWidget* w : top->findChildren<QWidget*>())
        all << w;
    for (const QWidget* w : all) {
        if (!w->isVisible())
            continue;
        out << QStringLiteral("W") << ClassName(w) << w->objectName() << GlobalRect(w, w->rect())
            << FlagsOf(w) << TextOf(w);
        out.End();
        if (const auto* tree = qobject_cast<const QTreeWidget*>(w))
            for (int i = 0; i < tree->topLevelItemCount(); ++i) {
                const QRect r = tree->visualItemRect(tree->topLevelItem(i));
                if (r.isValid() && tree->viewport()->rect().intersects(r)) {
                    out << QStringLiteral("ROW") << w->objectName() << i
                        << GlobalRect(tree->viewport(), r) << tree->topLevelItem(i)->text(0);
                    out.End();
                }
            }
    }
}

// The main window's bookmarks: each one's area and square, ticked, raised.
void Bookmarks(CLines& out, const CKompBookmarks& strip)
{
    const QWidget* box = strip.PaintBox();
    if (!box || !box->isVisible())
        return;
    for (int i = 0; i < strip.Count(); ++i) {
        const CKompBookmarks::CBookmark& b = strip.Bookmark(i);
        out << QStringLiteral("BM") << i
            << GlobalRect(box, QRect(QPoint(b.Left, b.Top), QPoint(b.Right - 1, b.Bottom - 1)))
            << GlobalRect(box, b.HasSquare ? QRect(QPoint(b.SquareX, b.SquareY),
                                                   QPoint(b.SquareRight - 1, b.SquareBottom - 1))
                                           : QRect())
            << (b.Ticked ? 1 : 0) << (i == strip.GetCurrent() ? 1 : 0);
        out.End();
    }
}

void Choice(CLines& out, const CKompLabel* label, bool right, bool ruledOut)
{
    if (!label || !label->isVisible())
        return;
    out << QStringLiteral("CHOICE") << (right ? 1 : 0) << (ruledOut ? 1 : 0)
        << GlobalRect(label, label->rect()) << label->Text;
    out.End();
}

template <class T> const T* TaskOf(const MyArray<T>& tasks, int index)
{
    return index >= 0 && index < tasks.Count() ? &tasks[index] : nullptr;
}

void Solved(CLines& out, bool solved)
{
    out << QStringLiteral("SOLVED") << (solved ? 1 : 0);
    out.End();
}

// A choosing task (WY, PWY, DC): each choice shown, then whether it is solved.
template <class Exercise> void ChoiceTask(CLines& out, const Exercise& ex, int index)
{
    const auto* task = TaskOf(ex.Tasks, index);
    if (!task)
        return;
    for (size_t i = 0; i < static_cast<size_t>(Exercise::MaxChoices); ++i)
        Choice(out, ex.ChoiceLabels[i].get(), static_cast<int>(i) == task->Correct, task->Wrong[i]);
    Solved(out, task->Solved);
}

void Typing(CLines& out, const QString& answer, const QString& typed, bool solved)
{
    out << QStringLiteral("ANSWER") << answer;
    out.End();
    out << QStringLiteral("TYPED") << typed;
    out.End();
    Solved(out, solved);
}

// The board's moves, each from a tile's centre to where it goes: DRAG, the
// next right move (a pool tile into an empty slot that expects its letter,
// else a wrong tile out of its slot back home to the pool); WRONG, a pool
// tile into an empty slot that expects another letter.
void Tiles(CLines& out, const CKompTable& board)
{
    if (!board.Table || !board.Box || !board.isVisible())
        return;
    auto centre = [&board](const CTableBlock& t, int left, int top) {
        return ScreenPoint(board.mapToGlobal(QPoint(left + t.Width / 2, top + t.Height / 2)));
    };
    auto move = [&out](const QString& tag, QPoint from, QPoint to) {
        out << tag << from.x() << from.y() << to.x() << to.y();
        out.End();
    };
    bool right = false;
    bool wrong = false;
    for (const CTableBox::SSlot& slot : board.Box->Slots) {
        if (slot.Placed)
            continue;
        const CTableBlock& e = *slot.Expected;
        for (const CTableBlock* tile : board.Table->Blocks) {
            const bool fits = tile->Equals(e);
            if ((fits && right) || (!fits && wrong))
                continue;
            move(fits ? QStringLiteral("DRAG") : QStringLiteral("WRONG"),
                 centre(*tile, tile->Left, tile->Top), centre(e, e.Left, e.Top));
            (fits ? right : wrong) = true;
        }
    }
    if (right)
        return;
    for (const CTableBox::SSlot& slot : board.Box->Slots)
        if (slot.Placed && slot.State == 2) {
            const CTableBlock& t = *slot.Placed;
            move(QStringLiteral("DRAG"), centre(t, t.Left, t.Top),
                 centre(t, t.HomeLeft, t.HomeTop));
            return;
        }
}

// What the task shows and says: the index of each picture shown (own words'
// from CWords::OwnPictureBase; only a picture that was read is kept) and the
// file of the last sound asked for (a shipped sound or an own recording).
void Media(CLines& out, const TFormTherapy& therapy)
{
    // The photo has no meta-object of its own: found by its C++ type.
    for (const QWidget* w : therapy.findChildren<QWidget*>()) {
        const auto* photo = dynamic_cast<const CKompPhoto*>(w);
        if (photo && photo->isVisible() && photo->PhotoIndex >= 0 && photo->Photo &&
            !photo->Photo->isNull()) {
            out << QStringLiteral("PHOTO") << photo->PhotoIndex;
            out.End();
        }
    }
    out << QStringLiteral("SOUND") << LastWvFile();
    out.End();
}

void Exercise(CLines& out, const TFormTherapy& therapy)
{
    const CExercise* ex = therapy.CurrentExercise();
    if (!ex)
        return;
    const int t = ex->TaskIndex;
    out << QStringLiteral("EX") << therapy.CurrentIndex() << t << ex->TaskCount;
    out.End();
    if (ex->StatEx) {
        out << QStringLiteral("HINTS") << ex->StatEx->Pomoc;
        out.End();
    }
    if (const auto* wy = dynamic_cast<const CExerciseWY*>(ex)) {
        ChoiceTask(out, *wy, t);
    } else if (const auto* pwy = dynamic_cast<const CExercisePWY*>(ex)) {
        ChoiceTask(out, *pwy, t);
    } else if (const auto* dc = dynamic_cast<const CExerciseDC*>(ex)) {
        ChoiceTask(out, *dc, t);
    } else if (const auto* uk = dynamic_cast<const CExerciseUK*>(ex)) {
        if (const auto* task = TaskOf(uk->Tasks, t)) {
            Solved(out, task->Solved);
            if (uk->Board)
                Tiles(out, *uk->Board);
        }
    } else if (const auto* wp = dynamic_cast<const CExerciseWP*>(ex)) {
        if (const auto* task = TaskOf(wp->Tasks, t))
            Typing(out, task->Word.Nazwa, task->Typed, task->Solved);
    } else if (const auto* zo = dynamic_cast<const CExerciseZO*>(ex)) {
        if (const auto* task = TaskOf(zo->Tasks, t))
            Typing(out, task->Word.Nazwa, task->Typed, task->Solved);
    } else if (const auto* pwp = dynamic_cast<const CExercisePWP*>(ex)) {
        if (const auto* task = TaskOf(pwp->Tasks, t))
            Typing(out, task->Proverb.Kon, task->Typed, task->Solved);
    }
    const CTransButton* replay = nullptr;
    if (const auto* dc = dynamic_cast<const CExerciseDC*>(ex))
        replay = dc->ReplayButton.get();
    else if (const auto* pnc = dynamic_cast<const CExercisePNC*>(ex))
        replay = pnc->ReplayButton.get();
    if (replay && replay->isVisible()) {
        out << QStringLiteral("REPLAY") << GlobalRect(replay, replay->rect());
        out.End();
    }
    Media(out, therapy);
    const CKompAlphabet* alphabet = therapy.Alphabet();
    if (alphabet && alphabet->isVisible() && alphabet->Columns > 0)
        for (int i = 0; i < alphabet->LetterCount; ++i) {
            const auto& letter = alphabet->Letters[static_cast<size_t>(i)];
            const QPoint c = ScreenPoint(
                alphabet->mapToGlobal(QPoint((i % alphabet->Columns) * alphabet->CellWidth,
                                             (i / alphabet->Columns) * alphabet->CellHeight) +
                                      QPoint(alphabet->CellWidth / 2, alphabet->CellHeight / 2)));
            out << QStringLiteral("LETTER") << QString(letter.Letter) << c.x() << c.y()
                << letter.LetterState;
            out.End();
        }
}
} // namespace

std::unique_ptr<CTestProbe> CTestProbe::FromEnvironment()
{
    const QString path = qEnvironmentVariable("LOQUENA_TEST_PROBE");
    return path.isEmpty() ? nullptr : std::make_unique<CTestProbe>(path);
}

CTestProbe::CTestProbe(QString path) : m_path(std::move(path))
{
    // Often enough for a script's pauses; a snapshot takes well under a millisecond.
    m_timer.setInterval(100);
    QObject::connect(&m_timer, &QTimer::timeout, this, [this] { Write(); });
    m_timer.start();
}

QString CTestProbe::Snapshot()
{
    CLines out;
    // Windows over others come first, so that the first widget of a name is
    // the one a click there reaches: dialogs over the therapy window, which
    // covers the main window (both have a "tbPomoc").
    QWidgetList tops = QApplication::topLevelWidgets();
    auto depth = [](const QWidget* w) {
        return dynamic_cast<const TFormMain*>(w) ? 2 : dynamic_cast<const TFormTherapy*>(w) ? 1 : 0;
    };
    std::stable_sort(tops.begin(), tops.end(),
                     [&depth](const QWidget* a, const QWidget* b) { return depth(a) < depth(b); });
    for (const QWidget* top : tops) {
        if (!top->isVisible())
            continue;
        Widgets(out, top);
        if (auto* main = dynamic_cast<TFormMain*>(const_cast<QWidget*>(top)))
            Bookmarks(out, main->Bookmarks());
        if (const auto* therapy = dynamic_cast<const TFormTherapy*>(top))
            Exercise(out, *therapy);
    }
    return out.Text();
}

void CTestProbe::Write()
{
    QSaveFile file(m_path);
    if (!file.open(QIODevice::WriteOnly))
        return;
    // The number tells a reader that the snapshot is newer than one it has.
    file.write(QStringLiteral("SEQ\t%1\n").arg(++m_sequence).toUtf8());
    file.write(Snapshot().toUtf8());
    file.commit();
}
