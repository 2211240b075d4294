#include "mainwindow/MainPages.h"

#include "mainwindow/CPatientsPage.h"
#include "mainwindow/CStatisticsPage.h"

namespace {

struct SExercisePage
{
    const char* page;
    const char* code;
    const char* title;
};

const SExercisePage kExercisePages[] = {
    {"tshWybieranieNazwy", "WY", "Wybieranie nazwy"},
    {"tshUkladanieNazwy", "UK", "Układanie nazwy"},
    {"tshWpisywanieNazwy", "WP", "Wpisywanie nazwy"},
    {"tshZadaniaOpisowe", "ZO", "Zadania opisowe"},
    {"tshPrzyslowiaWpisywanie", "PWP", "Przysłowia - wpisywanie"},
    {"tshPrzyslowiaWybieranie", "PWY", "Przysłowia - wybieranie"},
    {"tshDopasowanieCzynnosci", "DC", "Dopasowanie czynności"},
    {"tshWyliczanki", "WYL", "Zautomatyzowane ciągi słowne"},
    {"tshPowtarzaniePrzyslow", "PP", "Powtarzanie przysłów"},
    {"tshPowtarzanieNazwObrazkow", "PNO", "Powtarzanie nazw obrazków"},
    {"tshPowtarzanieNazwCzynnosci", "PNC", "Powtarzanie nazw czynności"},
};

} // namespace

QString MainPages::ExerciseTitle(int exercise)
{
    return QString::fromUtf8(kExercisePages[exercise].title);
}

CMainPage* MainPages::Create(int index, QWidget* parent)
{
    if (index == Patients)
        return new CPatientsPage(parent);
    if (index == Statistics)
        return new CStatisticsPage(parent);
    const SExercisePage& e = kExercisePages[index - FirstExercise];
    const QByteArray titleName = QByteArray("lb") + e.code + "_Title";
    const QByteArray ruleName = QByteArray("bev") + e.code + "_Title";
    auto* page = new CMainPage(parent, e.page, QString::fromUtf8(e.title), titleName.constData(),
                               ruleName.constData());
    page->resize(CMainPage::DesignWidth, CMainPage::DesignHeight);
    return page;
}
