#include "app/SingleInstance.h"

#include <QApplication>
#include <QLocalServer>
#include <QLocalSocket>
#include <QWidget>
#include <unistd.h>

namespace {

const QByteArray RaiseRequest = "raise\n";
const QByteArray RaisedAnswer = "raised\n";
const QByteArray NoWindowAnswer = "none\n";

// The running instance's splash first, else its main window, as the titles
// name them; hidden windows count as found, like a window search does.
QWidget* WindowToRaise()
{
    const QList<QWidget*> windows = QApplication::topLevelWidgets();
    for (const QString& title :
         {QStringLiteral("Loquena Cz. I Splash"), QStringLiteral("Loquena Cz. I")})
        for (QWidget* w : windows)
            if (w->windowTitle() == title)
                return w;
    return nullptr;
}

} // namespace

QString SingleInstance::DefaultName()
{
    const QString custom = qEnvironmentVariable("LOQUENA_INSTANCE_NAME");
    if (!custom.isEmpty())
        return custom;
    return QStringLiteral("Loquena.czI-instance-%1").arg(getuid());
}

SingleInstance::SingleInstance(QString name) : m_name(std::move(name)) {}

SingleInstance::~SingleInstance()
{
    Release();
}

SingleInstance::Result SingleInstance::Claim()
{
    // Two rounds: a start that races with another one for a free name asks
    // the winner on the second round.
    for (int round = 0; round < 2; ++round) {
        bool nobodyListens = false;
        const Result asked = AskRunning(nobodyListens);
        if (!nobodyListens)
            return asked;
        if (Listen())
            return Result::Acquired;
    }
    return Result::OtherUnreachable;
}

SingleInstance::Result SingleInstance::AskRunning(bool& nobodyListens)
{
    nobodyListens = false;
    QLocalSocket socket;
    socket.connectToServer(m_name);
    if (!socket.waitForConnected(AnswerTimeoutMs)) {
        const auto error = socket.error();
        nobodyListens = error == QLocalSocket::ServerNotFoundError ||
                        error == QLocalSocket::ConnectionRefusedError;
        if (error == QLocalSocket::ConnectionRefusedError)
            QLocalServer::removeServer(m_name); // left behind by an instance that died
        return Result::OtherUnreachable;
    }
    socket.write(RaiseRequest);
    socket.flush();
    QByteArray answer;
    while (!answer.endsWith('\n') && socket.waitForReadyRead(AnswerTimeoutMs))
        answer += socket.readAll();
    socket.abort();
    return answer == RaisedAnswer ? Result::OtherRaised : Result::OtherUnreachable;
}

bool SingleInstance::Listen()
{
    auto server = std::make_unique<QLocalServer>();
    server->setSocketOptions(QLocalServer::UserAccessOption);
    if (!server->listen(m_name))
        return false;
    connect(server.get(), &QLocalServer::newConnection, this, &SingleInstance::Serve);
    m_server = std::move(server);
    return true;
}

void SingleInstance::Serve()
{
    while (QLocalSocket* socket = m_server->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, socket, [socket] {
            if (!socket->canReadLine())
                return;
            if (socket->readLine() != RaiseRequest) {
                socket->disconnectFromServer();
                return;
            }
            QWidget* window = WindowToRaise();
            if (window) {
                window->raise();
                window->activateWindow();
            }
            socket->write(window ? RaisedAnswer : NoWindowAnswer);
            socket->flush();
            socket->disconnectFromServer();
        });
    }
}

void SingleInstance::Release()
{
    if (m_server) {
        m_server->close(); // removes the socket file
        m_server.reset();
    }
}

bool SingleInstance::Holds() const
{
    return m_server && m_server->isListening();
}
