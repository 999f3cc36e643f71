#include "app/frame/window_raiser.h"

#include <QDir>
#include <QEventLoop>
#include <QLocalServer>
#include <QLocalSocket>
#include <QStandardPaths>
#include <QTimer>

namespace tunvale::frame {

namespace {

const QByteArray kRaise = QByteArrayLiteral("RAISE ");
const QByteArray kOk = QByteArrayLiteral("OK");
const QByteArray kNo = QByteArrayLiteral("NO");

} // namespace

WindowRaiser::WindowRaiser(RaiseTarget& window, qint64 ownId, QObject* parent)
    : QObject(parent)
    , window_(window)
    , ownId_(ownId)
    , server_(new QLocalServer(this))
{
    connect(server_, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* socket = server_->nextPendingConnection()) {
            connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
            connect(socket, &QLocalSocket::readyRead, this, [this, socket] { answer(socket); });
            answer(socket);
        }
    });
}

WindowRaiser::~WindowRaiser() = default;

QString WindowRaiser::SocketPath(qint64 id)
{
    QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (folder.isEmpty())
        folder = QDir::tempPath();
    return QDir(folder).filePath(QStringLiteral("tunvale-%1").arg(id));
}

bool WindowRaiser::listen()
{
    const QString path = SocketPath(ownId_);
    // A socket of our name is left over from an ended process whose id we now have.
    QLocalServer::removeServer(path);
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    return server_->listen(path);
}

void WindowRaiser::answer(QLocalSocket* socket)
{
    if (!socket->canReadLine()) {
        // A line longer than any path is no call of ours.
        if (socket->bytesAvailable() > kMaxLineBytes)
            socket->abort();
        return;
    }
    QByteArray line = socket->readLine(kMaxLineBytes + 1);
    if (!line.endsWith('\n')) {
        socket->abort();
        return;
    }
    line.chop(1);
    if (line.endsWith('\r'))
        line.chop(1);
    const bool shown
        = line.startsWith(kRaise) && window_.showsScore(QString::fromUtf8(line.mid(kRaise.size())));
    socket->write((shown ? kOk : kNo) + '\n');
    socket->flush();
    socket->disconnectFromServer();
    if (shown)
        window_.bringUp();
}

RaiseVerdict WindowRaiser::RestoreWindow(qint64 id, const QString& path, int waitMs) const
{
    if (id == ownId_) {
        if (!window_.showsScore(path))
            return RaiseVerdict::Gone;
        window_.bringUp();
        return RaiseVerdict::Raised;
    }
    return AskToRaise(id, path, waitMs);
}

RaiseVerdict WindowRaiser::AskToRaise(qint64 id, const QString& path, int waitMs)
{
    if (id <= 0)
        return RaiseVerdict::Gone;
    QLocalSocket socket;
    QEventLoop loop;
    QTimer timer;
    timer.setSingleShot(true);
    bool connected = false;
    bool ended = false;
    QObject::connect(&socket, &QLocalSocket::connected, &loop, [&] {
        connected = true;
        socket.write(kRaise + path.toUtf8() + '\n');
        socket.flush();
    });
    QObject::connect(&socket, &QLocalSocket::readyRead, &loop, [&] {
        if (socket.canReadLine())
            loop.quit();
    });
    QObject::connect(&socket, &QLocalSocket::disconnected, &loop, [&] {
        ended = true;
        loop.quit();
    });
    QObject::connect(&socket, &QLocalSocket::errorOccurred, &loop, [&] {
        ended = true;
        loop.quit();
    });
    QObject::connect(&timer, &QTimer::timeout, &loop, &QEventLoop::quit);

    timer.start(waitMs);
    socket.connectToServer(SocketPath(id));
    // The answer may already have come while connecting; otherwise wait for it, serving events so
    // that a server of this very process can answer too.
    if (!socket.canReadLine() && !ended && socket.state() != QLocalSocket::UnconnectedState)
        loop.exec(QEventLoop::ExcludeUserInputEvents);

    if (socket.canReadLine()) {
        const QByteArray reply = socket.readLine(16).trimmed();
        return reply == kOk ? RaiseVerdict::Raised : RaiseVerdict::Gone;
    }
    if (!connected || ended)
        return RaiseVerdict::Gone;
    return RaiseVerdict::Busy;
}

} // namespace tunvale::frame
