// The main window's part in keeping the work going with a clinic's server
// that goes away and comes back.
#include "mainwindow/CClinicWatch.h"
#include "mainwindow/CPatientsPage.h"
#include "mainwindow/TFormMain.h"
#include "mainwindow/TFormMessage.h"
#include "patients/CPatient.h"
#include "statistics/CKeptTherapies.h"
#include "statistics/CStatistics.h"

#include <QTreeWidget>

void TFormMain::StartClinicWatch()
{
    m_statistics->SetKeptFile(CKeptTherapies::DefaultPath());
    auto* watch = new CClinicWatch(
        m_patient.get(), m_statistics.get(),
        [this](int kind, const QStringList& rows) {
            Inform(kind, rows.value(0), rows.value(1), rows.value(2), rows.value(3));
        },
        this);
    // Nothing is said over a therapy, nor before the window shows.
    watch->Quiet = [this] { return m_therapyRunning || !isVisible(); };
    watch->OnReconnected = [this] {
        m_tshPacjent->Bind(m_patient.get(), m_statistics.get());
        ShowActivePatient();
    };
}

void TFormMain::ReportKeptTherapy(bool kept)
{
    if (kept) {
        // The date goes with the therapy once the server is back.
        m_patient->MarkTherapyTodayLater();
        Inform(TFormMessage::KindWarning,
               QStringLiteral("Serwer bazy kliniki jest teraz niedostępny."),
               QStringLiteral("Wyniki tej terapii przechowano na tym stanowisku;"),
               QStringLiteral("zostaną zapisane w bazie kliniki, gdy połączenie wróci."));
        return;
    }
    Inform(TFormMessage::KindError,
           QStringLiteral("Wyników tej terapii nie udało się zapisać w bazie kliniki."),
           QStringLiteral("Nie zostały też przechowane na tym stanowisku."),
           QStringLiteral("Proszę je zanotować i sprawdzić połączenie z serwerem."));
}
