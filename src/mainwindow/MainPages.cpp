#include "mainwindow/MainPages.h"

#include "mainwindow/CPatientsPage.h"
#include "mainwindow/CStatisticsPage.h"
#include "statistics/ExerciseTitles.h"

namespace {

struct SExercisePage
{
    const char* page;
    const char* code;
};

const SExercisePage kExercisePages[] = {
    {"tshWybieranieNazwy", "WY"},           {"tshUkladanieNazwy", "UK"},
    {"tshWpisywanieNazwy", "WP"},           {"tshZadaniaOpisowe", "ZO"},
    {"tshPrzyslowiaWpisywanie", "PWP"},     {"tshPrzyslowiaWybieranie", "PWY"},
    {"tshDopasowanieCzynnosci", "DC"},      {"tshWyliczanki", "WYL"},
    {"tshPowtarzaniePrzyslow", "PP"},       {"tshPowtarzanieNazwObrazkow", "PNO"},
    {"tshPowtarzanieNazwCzynnosci", "PNC"},
};

} // namespace

CMainPage* MainPages::Create(int index, QWidget* parent)
{
    if (index == Patients)
        return new CPatientsPage(parent);
    if (index == Statistics)
        return new CStatisticsPage(parent);
    const SExercisePage& e = kExercisePages[index - FirstExercise];
    const QByteArray titleName = QByteArray("lb") + e.code + "_Title";
    const QByteArray ruleName = QByteArray("bev") + e.code + "_Title";
    auto* page = new CMainPage(parent, e.page, ExerciseTitle(index - FirstExercise),
                               titleName.constData(), ruleName.constData());
    page->resize(CMainPage::DesignWidth, CMainPage::DesignHeight);
    return page;
}
