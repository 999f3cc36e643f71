#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>

#include <deque>

class QLocalServer;
class QLocalSocket;

// Bringing up the window of another score process. Each window process listens on a local socket
// "tunvale-<pid>" in the runtime folder; a peer sends one line "RAISE <path>" and gets "OK" when the
// window showed that score and is now up, else "NO". "SHOWS <path>" asks the same without bringing the
// window up.
namespace tunvale::frame {

// What the listening side asks of its window.
class RaiseTarget
{
public:
    virtual ~RaiseTarget() = default;
    // True while the window is visible and shows the score `path`.
    virtual bool showsScore(const QString& path) const = 0;
    // Shows the window normal, moves it to its screen's top left corner, raises and activates it.
    virtual void bringUp() = 0;
};

enum class RaiseVerdict {
    Raised, // the window showed the score and is now up
    Gone, // no such window any more: dead process, reused id, or a window now on another score
    Busy, // the process took the call but did not answer in time: it lives
};

class WindowRaiser : public QObject
{
    Q_OBJECT

public:
    // `ownId` is the id this process registers its score under.
    explicit WindowRaiser(RaiseTarget& window, qint64 ownId, QObject* parent = nullptr);
    ~WindowRaiser() override;

    // Starts listening for raise calls, after removing a stale socket of our name. False when the
    // socket can't be made (raising this window then fails for others). From then on a server that
    // stops listening (out of file descriptors, say) is logged and started again.
    bool listen();

    // Brings up the window of process `id` if it shows `path`. The own id is asked directly.
    RaiseVerdict RestoreWindow(qint64 id, const QString& path, int waitMs = kDefaultWaitMs) const;

    // Asks process `id` without a window of our own (the command-line tool, start-up before a window).
    static RaiseVerdict AskToRaise(qint64 id, const QString& path, int waitMs = kDefaultWaitMs);
    // Whether process `id` has a window that shows `path`, without bringing it up. A process that takes
    // the call but does not answer in time counts as showing it: it lives.
    static bool AskShows(qint64 id, const QString& path, int waitMs = kDefaultWaitMs);

    // The full socket path of process `id`.
    static QString SocketPath(qint64 id);

    static constexpr int kDefaultWaitMs = 1000;
    static constexpr int kMaxLineBytes = 8192;
    // Callers that have not sent their line yet; a newer one closes the oldest.
    static constexpr int kMaxOpenConnections = 8;

private:
    static RaiseVerdict ask(qint64 id, const QByteArray& line, int waitMs);
    void accept(QLocalSocket* socket);
    void answer(QLocalSocket* socket);
    void keepListening();

    RaiseTarget& window_;
    qint64 ownId_;
    QLocalServer* server_;
    std::deque<QPointer<QLocalSocket>> open_;
    QTimer watch_;
    bool down_ = false;
};

} // namespace tunvale::frame
