#include "app/SingleInstance.h"

#include <QCryptographicHash>
#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>

namespace
{
constexpr int kConnectTimeoutMs = 500;
const QByteArray kRaiseRequest = "raise\n";
} // namespace

SingleInstance::SingleInstance(const QString& settingsDir, QObject* parent)
    : QObject(parent), mName(SocketName(settingsDir))
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

bool SingleInstance::HandOverToRunningInstance()
{
    QLocalSocket socket;
    socket.connectToServer(mName);
    if (!socket.waitForConnected(kConnectTimeoutMs))
        return false;
    socket.write(kRaiseRequest);
    socket.waitForBytesWritten(kConnectTimeoutMs);
    socket.disconnectFromServer();
    return true;
}

bool SingleInstance::Listen(std::function<void()> onRaiseRequest, QString& error)
{
    mOnRaiseRequest = std::move(onRaiseRequest);
    mServer = std::make_unique<QLocalServer>();
    mServer->setSocketOptions(QLocalServer::UserAccessOption);
    if (!mServer->listen(mName))
    {
        // Nobody answered HandOverToRunningInstance(), so a socket that is still there is stale.
        QLocalServer::removeServer(mName);
        if (!mServer->listen(mName))
        {
            error = mServer->errorString();
            mServer.reset();
            return false;
        }
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
