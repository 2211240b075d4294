#include "mainwindow/CClinicWatch.h"

#include "mainwindow/TFormMessage.h"
#include "patients/CPatient.h"
#include "platform/CDbConnection.h"
#include "statistics/CStatistics.h"

#include <QRegularExpression>
#include <QScopeGuard>

CClinicWatch::CClinicWatch(CPatient* patient, CStatistics* statistics, Inform inform,
                           QObject* parent)
    : QObject(parent), m_patient(patient), m_statistics(statistics), m_inform(std::move(inform))
{
    m_timer.setInterval(kTickMs);
    QObject::connect(&m_timer, &QTimer::timeout, this, [this] { Check(); });
    if (m_patient->Connection()->IsClinic())
        m_timer.start();
}

void CClinicWatch::Tell(int kind, const QStringList& rows)
{
    if (m_inform)
        m_inform(kind, rows);
}

void CClinicWatch::Check()
{
    // The message window waits for the therapist while the timer goes on.
    if (m_checking || (Quiet && Quiet()))
        return;
    m_checking = true;
    const auto done = qScopeGuard([this] { m_checking = false; });
    if (m_patient->StoreReachable()) {
        m_away = false;
        // What the last run kept is stored as soon as the program shows.
        if (!m_keptStored) {
            m_keptStored = true;
            StoreKept();
        }
        return;
    }
    if (!m_away) {
        m_away = true;
        Tell(TFormMessage::KindWarning,
             {QStringLiteral("Połączenie z serwerem bazy kliniki zostało przerwane."),
              QStringLiteral("Wszystko, co zapisano wcześniej, jest bezpieczne."),
              QStringLiteral("Program połączy się ponownie sam, gdy serwer będzie dostępny."),
              QStringLiteral("Terapie zakończone w tym czasie zostaną przechowane tutaj.")});
    }
    bool back = false;
    try {
        back = m_patient->Reconnect();
    } catch (...) {
        // Lost again at once: the next look tries anew.
    }
    if (!back || !m_patient->StoreReachable()) {
        TellRefusal();
        return;
    }
    m_away = false;
    m_toldRefusal.clear();
    if (OnReconnected)
        OnReconnected();
    const QString lost = m_patient->TakeLostPatient();
    if (!lost.isEmpty())
        Tell(TFormMessage::KindWarning,
             {QStringLiteral("Połączenie z serwerem bazy kliniki zostało przywrócone."),
              QStringLiteral("Pacjent \u201e%1\u201d został w tym czasie otwarty").arg(lost),
              QStringLiteral("na innym stanowisku; zmiany wprowadzone tu po przerwaniu"),
              QStringLiteral("połączenia nie zostały zapisane.")});
    else
        Tell(TFormMessage::KindInformation,
             {QStringLiteral("Połączenie z serwerem bazy kliniki zostało przywrócone.")});
    m_keptStored = true;
    StoreKept();
}

// The server came back with a database of another version's tables (a
// restored copy): the therapist is told why once, with the words of the
// start-up's refusal; nothing is written until the right tables are back.
void CClinicWatch::TellRefusal()
{
    const QString refusal = m_patient->StoreRefusal();
    if (refusal.isEmpty() || refusal == m_toldRefusal)
        return;
    m_toldRefusal = refusal;
    static const QRegularExpression sentenceEnd(QStringLiteral("(?<=[.;]) "));
    const QString reason = refusal.mid(refusal.indexOf(QLatin1String(" - ")) + 3);
    QStringList rows = reason.split(sentenceEnd).mid(0, TFormMessage::RowCount - 1);
    rows << QStringLiteral("Do tego czasu nic nie jest zapisywane w bazie kliniki.");
    Tell(TFormMessage::KindError, rows);
}

void CClinicWatch::StoreKept()
{
    const CStatistics::SKeptOutcome outcome = m_statistics->StoreKept();
    if (outcome.stored > 0)
        Tell(
            TFormMessage::KindInformation,
            {QStringLiteral("Terapie przechowane na tym stanowisku"),
             QStringLiteral("zostały zapisane w bazie kliniki (liczba: %1).").arg(outcome.stored)});
    if (!outcome.lost.isEmpty())
        Tell(TFormMessage::KindError,
             {QStringLiteral("Nie można zapisać w bazie kliniki terapii przechowanej tutaj:"),
              outcome.lost.front() +
                  (outcome.lost.size() > 1
                       ? QStringLiteral(" (oraz innych: %1)").arg(outcome.lost.size() - 1)
                       : QString()),
              QStringLiteral("Pacjenta usunięto z bazy kliniki. Wyniki zachowano w pliku:"),
              outcome.rejectedFile});
    if (outcome.unreadable)
        Tell(TFormMessage::KindError,
             {QStringLiteral("Nie można odczytać pliku z terapiami przechowanymi"),
              QStringLiteral("na tym stanowisku. Plik pozostawiono bez zmian:"), outcome.file});
}
