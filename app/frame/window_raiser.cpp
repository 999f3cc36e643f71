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
const QByteArray kShows = QByteArrayLiteral("SHOWS ");
const QByteArray kOk = QByteArrayLiteral("OK");
const QByteArray kNo = QByteArrayLiteral("NO");

void drop(QLocalSocket* socket)
{
    socket->abort();
    socket->deleteLater();
}

} // namespace

WindowRaiser::WindowRaiser(RaiseTarget& window, qint64 ownId, QObject* parent)
    : QObject(parent)
    , window_(window)
    , ownId_(ownId)
    , server_(new QLocalServer(this))
{
    connect(server_, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* socket = server_->nextPendingConnection())
            accept(socket);
    });
    // The server closes itself when it cannot accept a call; nothing else tells.
    watch_.setInterval(kDefaultWaitMs);
    connect(&watch_, &QTimer::timeout, this, &WindowRaiser::keepListening);
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
    watch_.start();
    const QString path = SocketPath(ownId_);
    // A socket of our name is left over from an ended process whose id we now have.
    QLocalServer::removeServer(path);
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    return server_->listen(path);
}

void WindowRaiser::keepListening()
{
    if (server_->isListening())
        return;
    if (!down_)
        qWarning("The window's raise socket stopped listening (%s); it is made again.",
            qUtf8Printable(server_->errorString()));
    down_ = !listen();
    if (!down_)
        qInfo("The window's raise socket listens again.");
}

void WindowRaiser::accept(QLocalSocket* socket)
{
    // A caller sends its line at once and waits a second for the answer: one that has not sent it by
    // then is no caller of ours, and many open ones would use up the window's file descriptors.
    std::erase_if(open_, [](const QPointer<QLocalSocket>& s) { return s.isNull(); });
    while (std::ssize(open_) >= kMaxOpenConnections) {
        drop(open_.front());
        open_.pop_front();
    }
    open_.emplace_back(socket);
    connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
    connect(socket, &QLocalSocket::readyRead, this, [this, socket] { answer(socket); });
    QTimer::singleShot(kDefaultWaitMs, socket, [socket] { drop(socket); });
    answer(socket);
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
    const bool raise = line.startsWith(kRaise);
    const bool shown = (raise || line.startsWith(kShows))
        && window_.showsScore(QString::fromUtf8(line.mid((raise ? kRaise : kShows).size())));
    socket->write((shown ? kOk : kNo) + '\n');
    socket->flush();
    socket->disconnectFromServer();
    if (shown && raise)
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
    return ask(id, kRaise + path.toUtf8(), waitMs);
}

bool WindowRaiser::AskShows(qint64 id, const QString& path, int waitMs)
{
    return ask(id, kShows + path.toUtf8(), waitMs) != RaiseVerdict::Gone;
}

RaiseVerdict WindowRaiser::ask(qint64 id, const QByteArray& line, int waitMs)
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
        socket.write(line + '\n');
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
