#pragma once
#include <QObject>
#include <QString>
#include <memory>

class QLocalServer;

// Keeps the program to one running instance through a local socket under a
// fixed name. The running instance listens; a second start connects, asks it
// to bring its splash or main window to the front, and ends.
class SingleInstance : public QObject
{
    Q_OBJECT
public:
    enum class Result
    {
        Acquired,         // this is the only instance; the name is held
        OtherRaised,      // another instance answered and raised its window
        OtherUnreachable, // another instance holds the name but cannot be asked
    };

    // The fixed name, per user; LOQUENA_INSTANCE_NAME replaces it (tests).
    static QString DefaultName();

    explicit SingleInstance(QString name = DefaultName());
    ~SingleInstance() override;

    // Asks a running instance, or takes the name when nobody answers on it
    // (a name left behind by an instance that died is taken over).
    Result Claim();
    // Gives the name back.
    void Release();
    bool Holds() const;

    // How long a second start waits for the running instance to answer.
    static constexpr int AnswerTimeoutMs = 3000;

private:
    Result AskRunning(bool& nobodyListens);
    bool Listen();
    void Serve();

    QString m_name;
    std::unique_ptr<QLocalServer> m_server;
};
