#pragma once
#include <QObject>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <functional>

class CPatient;
class CStatistics;

// Keeps a workstation working with the clinic's server: notices when the
// connection is lost, makes it again (without ever making the screen wait)
// once the server is back, stores the therapies kept on the workstation
// meanwhile, and tells the therapist plainly what happened. Nothing on a file
// store.
class CClinicWatch : public QObject
{
public:
    // Tells the therapist: the kind of the message window, up to four rows.
    using Inform = std::function<void(int kind, const QStringList& rows)>;

    CClinicWatch(CPatient* patient, CStatistics* statistics, Inform inform,
                 QObject* parent = nullptr);

    // Called once the connection is back, before the therapist is told: the
    // patient list is to be read and watched again.
    std::function<void()> OnReconnected;
    // True while the watch must neither tell nor reconnect (a therapy runs).
    std::function<bool()> Quiet;

    // One look at the connection (the timer does it every kTickMs).
    void Check();
    // Stores what was kept on the workstation, telling the therapist.
    void StoreKept();
    bool Away() const { return m_away; }

    static constexpr int kTickMs = 500;

private:
    void Tell(int kind, const QStringList& rows);
    void TellRefusal();

    CPatient* m_patient;
    CStatistics* m_statistics;
    Inform m_inform;
    QTimer m_timer;
    bool m_away = false;
    bool m_keptStored = false; // the kept therapies were tried since the start
    bool m_checking = false;
    QString m_toldRefusal; // the refusal the therapist was told of
};
