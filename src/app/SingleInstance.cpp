#include "app/SingleInstance.h"

#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QThread>

namespace
{
constexpr int kConnectTimeoutMs = 500;
// How long a later start keeps trying to reach an editor that holds the lock: the owner listens
// right after taking it, so this only covers a busy machine.
constexpr int kReachDeadlineMs = 5000;
constexpr int kReachRetryMs = 50;
const QByteArray kRaiseRequest = "raise\n";
const QString kLockFileName = QStringLiteral(".ctrlWaveStomplet.lock");
} // namespace

SingleInstance::SingleInstance(const QString& settingsDir, QObject* parent)
    : QObject(parent), mFolder(QDir(settingsDir).absolutePath()), mName(SocketName(settingsDir))
{
}

SingleInstance::~SingleInstance() = default;

QString SingleInstance::SocketName(const QString& settingsDir)
{
    const QString user = qEnvironmentVariable("USER", qEnvironmentVariable("USERNAME"));
    const QByteArray key = (user + QLatin1Char('\n') + QDir(settingsDir).absolutePath()).toUtf8();
    const QByteArray hash = QCryptographicHash::hash(key, QCryptographicHash::Sha256).toHex();
    return QStringLiteral("ctrlWaveStomplet-") + QString::fromLatin1(hash.left(24));
}

SingleInstance::Claim SingleInstance::ClaimFolder(std::function<void()> onRaiseRequest,
                                                  QString& error)
{
    mOnRaiseRequest = std::move(onRaiseRequest);
    if (!QDir().mkpath(mFolder))
    {
        error = QStringLiteral("cannot create the settings folder \"%1\"").arg(mFolder);
        return Claim::kUnavailable;
    }

    mLock = std::make_unique<QLockFile>(mFolder + QLatin1Char('/') + kLockFileName);
    // A lock is stale only when its process is gone, however old it is.
    mLock->setStaleLockTime(0);
    if (mLock->tryLock(0))
        return Listen(error) ? Claim::kFirst : Claim::kUnavailable;

    const QLockFile::LockError lockError = mLock->error();
    mLock.reset();
    if (lockError != QLockFile::LockFailedError)
    {
        error = QStringLiteral("cannot take the lock file in \"%1\"").arg(mFolder);
        return Claim::kUnavailable;
    }
    if (AskRunningEditorToRaise())
        return Claim::kHandedOver;
    error = QStringLiteral("another editor uses the settings folder \"%1\" but does not answer")
                .arg(mFolder);
    return Claim::kUnreachable;
}

bool SingleInstance::AskRunningEditorToRaise()
{
    const QDeadlineTimer deadline(kReachDeadlineMs);
    do
    {
        QLocalSocket socket;
        socket.connectToServer(mName);
        if (socket.waitForConnected(kConnectTimeoutMs))
        {
            socket.write(kRaiseRequest);
            const bool written = socket.waitForBytesWritten(kConnectTimeoutMs);
            socket.disconnectFromServer();
            return written;
        }
        QThread::msleep(kReachRetryMs);
    } while (!deadline.hasExpired());
    return false;
}

bool SingleInstance::Listen(QString& error)
{
    mServer = std::make_unique<QLocalServer>();
    mServer->setSocketOptions(QLocalServer::UserAccessOption);
    // This process holds the lock, so a socket already there was left by an editor that is gone.
    QLocalServer::removeServer(mName);
    if (!mServer->listen(mName))
    {
        error = QStringLiteral("cannot listen for later starts: ") + mServer->errorString();
        mServer.reset();
        return false;
    }
    connect(mServer.get(), &QLocalServer::newConnection, this,
            [this]
            {
                while (QLocalSocket* client = mServer->nextPendingConnection())
                {
                    connect(client, &QLocalSocket::disconnected, client, &QObject::deleteLater);
                    auto readRequest = [this, client]
                    {
                        if (client->canReadLine() && client->readLine() == kRaiseRequest &&
                            mOnRaiseRequest)
                            mOnRaiseRequest();
                    };
                    connect(client, &QLocalSocket::readyRead, this, readRequest);
                    readRequest(); // the request may have arrived with the connection
                }
            });
    return true;
}
