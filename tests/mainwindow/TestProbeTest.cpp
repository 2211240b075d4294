// The test probe that the end-to-end script reads: the places it gives are
// where a click really lands on the named control, and its answers are the
// task's own.
#include "controls/CKompLabel.h"
#include "exercises/CExerciseWP.h"
#include "exercises/CExerciseWY.h"
#include "mainwindow/CTestProbe.h"
#include "therapy/TherapyTestBase.h"

#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTreeWidget>

namespace {

QList<QStringList> Lines(const QString& snapshot, const QString& tag)
{
    QList<QStringList> found;
    for (const QString& line : snapshot.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        const QStringList fields = line.split(QLatin1Char('\t'));
        if (fields.first() == tag)
            found << fields;
    }
    return found;
}

// Clicks the widget under a global point, as the script's pointer does (the
// offscreen screen is smaller than the windows, so no screen lookup).
void ClickAt(int x, int y)
{
    const QPoint global(x, y);
    QWidget* w = nullptr;
    for (QWidget* top : QApplication::topLevelWidgets())
        if (top->isVisible() && top->geometry().contains(global))
            if (QWidget* child = top->childAt(top->mapFromGlobal(global)))
                w = child;
    ASSERT_NE(w, nullptr) << x << "," << y;
    QTest::mouseClick(w, Qt::LeftButton, {}, w->mapFromGlobal(global));
}

TEST(TestProbe, ListsTheVisibleWidgetsWithNamesStatesAndTexts)
{
    QWidget top;
    top.setGeometry(40, 30, 300, 200);
    auto* box = new QCheckBox(QStringLiteral("Dni\ttygodnia"), &top);
    box->setObjectName(QStringLiteral("WYL_cbDni"));
    box->setGeometry(10, 20, 120, 20);
    box->setChecked(true);
    auto* bar = new QScrollBar(Qt::Horizontal, &top);
    bar->setObjectName(QStringLiteral("WY_sbLZ"));
    bar->setGeometry(10, 50, 120, 16);
    bar->setRange(1, 20);
    bar->setValue(7);
    auto* hidden = new QCheckBox(&top);
    hidden->setObjectName(QStringLiteral("hidden"));
    hidden->hide();
    auto* tree = new QTreeWidget(&top);
    tree->setObjectName(QStringLiteral("lvStatystyka"));
    tree->setGeometry(10, 80, 280, 100);
    tree->addTopLevelItem(new QTreeWidgetItem(QStringList{QStringLiteral("10.12.2026 12:00")}));
    top.show();
    QCoreApplication::processEvents();

    const QString snapshot = CTestProbe::Snapshot();
    QStringList boxLine;
    QStringList barLine;
    for (const QStringList& f : Lines(snapshot, QStringLiteral("W"))) {
        EXPECT_NE(f[2], QStringLiteral("hidden"));
        if (f[2] == QStringLiteral("WYL_cbDni"))
            boxLine = f;
        if (f[2] == QStringLiteral("WY_sbLZ"))
            barLine = f;
    }
    ASSERT_EQ(boxLine.size(), 9);
    const QPoint origin = top.mapToGlobal(QPoint(0, 0));
    EXPECT_EQ(boxLine[1], QStringLiteral("QCheckBox"));
    EXPECT_EQ(boxLine[3].toInt(), origin.x() + 10);
    EXPECT_EQ(boxLine[4].toInt(), origin.y() + 20);
    EXPECT_EQ(boxLine[7], QStringLiteral("ec"));
    EXPECT_EQ(boxLine[8], QStringLiteral("Dni tygodnia"));
    ASSERT_EQ(barLine.size(), 9);
    EXPECT_EQ(barLine[8], QStringLiteral("7 1 20"));
    const QList<QStringList> rows = Lines(snapshot, QStringLiteral("ROW"));
    ASSERT_EQ(rows.size(), 1);
    EXPECT_EQ(rows[0][7], QStringLiteral("10.12.2026 12:00"));

    // The file holds a whole snapshot.
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("probe.txt"));
    CTestProbe(path).Write();
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(QString::fromUtf8(file.readAll()).contains(QStringLiteral("\tWYL_cbDni\t")));
}

class TestProbeTherapy : public TherapyTestBase
{
};

TEST_F(TestProbeTherapy, TheRightChoiceItNamesIsTheTasksWordAndAClickThereSolvesIt)
{
    Choose({CTherapySettings::WY}, 2, 4);
    Run([this] {
        auto* wy = dynamic_cast<CExerciseWY*>(therapy->CurrentExercise());
        ASSERT_NE(wy, nullptr);
        const QString snapshot = CTestProbe::Snapshot();
        const QList<QStringList> ex = Lines(snapshot, QStringLiteral("EX"));
        ASSERT_EQ(ex.size(), 1);
        EXPECT_EQ(ex[0][1].toInt(), CExercise::WY);
        EXPECT_EQ(ex[0][3].toInt(), 2);
        const QList<QStringList> choices = Lines(snapshot, QStringLiteral("CHOICE"));
        ASSERT_EQ(choices.size(), 4);
        QStringList right;
        QStringList wrong;
        for (const QStringList& c : choices)
            (c[1] == QStringLiteral("1") ? right : wrong) = c;
        EXPECT_EQ(right[7], wy->Tasks[0].Word->Nazwa);

        // A wrong one first: ruled out, the task still open.
        ClickAt(wrong[3].toInt() + wrong[5].toInt() / 2, wrong[4].toInt() + wrong[6].toInt() / 2);
        EXPECT_FALSE(wy->Tasks[0].Solved);
        bool ruledOut = false;
        for (const QStringList& c : Lines(CTestProbe::Snapshot(), QStringLiteral("CHOICE")))
            ruledOut |= c[7] == wrong[7] && c[2] == QStringLiteral("1");
        EXPECT_TRUE(ruledOut);
        ClickAt(right[3].toInt() + right[5].toInt() / 2, right[4].toInt() + right[6].toInt() / 2);
        EXPECT_TRUE(wy->Tasks[0].Solved);
        EXPECT_EQ(Lines(CTestProbe::Snapshot(), QStringLiteral("SOLVED")).value(0).value(1),
                  QStringLiteral("1"));
    });
}

TEST_F(TestProbeTherapy, TypingGivesTheAnswerWhatIsTypedAndLettersWhereTheAlphabetTakesThem)
{
    Choose({CTherapySettings::WP});
    patient.Settings().Get_ExeSet(CTherapySettings::WP).LZ = 1;
    patient.Settings().Get_ExeSet(CTherapySettings::WP).Flags = 1;
    Run([this] {
        auto* wp = dynamic_cast<CExerciseWP*>(therapy->CurrentExercise());
        ASSERT_NE(wp, nullptr);
        const QString snapshot = CTestProbe::Snapshot();
        const QString answer = Lines(snapshot, QStringLiteral("ANSWER")).value(0).value(1);
        EXPECT_EQ(answer, wp->Tasks[0].Word.Nazwa);
        ASSERT_FALSE(answer.isEmpty());
        for (const QStringList& l : Lines(snapshot, QStringLiteral("LETTER")))
            if (l[1] == answer.left(1))
                ClickAt(l[2].toInt(), l[3].toInt());
        EXPECT_EQ(Lines(CTestProbe::Snapshot(), QStringLiteral("TYPED")).value(0).value(1),
                  answer.left(1));
    });
}

} // namespace
