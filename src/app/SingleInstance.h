#pragma once

#include <QObject>
#include <QString>
#include <functional>
#include <memory>

class QLocalServer;
class QLockFile;

// One editor per user and settings folder.
//
// The first start takes a lock file in the settings folder, held for the life of the process,
// and at once listens on a local socket whose name is derived from the user and the folder. Taking
// the lock is atomic, so of two starts at the same moment exactly one wins. A later start that
// finds the lock held connects to the socket, asks the running editor to raise its window, and
// leaves. A lock left by a crashed editor is taken over (its process is gone), and only the lock's
// owner ever removes a socket, so no start takes a live editor's socket away.
// [main thread]
class SingleInstance final : public QObject
{
public:
    enum class Claim
    {
        kFirst,       // this process is the editor of the folder and listens for later starts
        kHandedOver,  // another editor runs with this folder and was asked to raise its window
        kUnavailable, // the rule cannot be kept (see the error): the editor runs without it
        kUnreachable, // another editor holds the folder but did not answer: do not start
    };

    explicit SingleInstance(const QString& settingsDir, QObject* parent = nullptr);
    ~SingleInstance() override;

    // Claims the settings folder before any other start-up work; creates the folder when needed.
    // `onRaiseRequest` runs, from the event loop, whenever a later start asks. `error` says why
    // for kUnavailable and kUnreachable.
    Claim ClaimFolder(std::function<void()> onRaiseRequest, QString& error);

    static QString SocketName(const QString& settingsDir);

private:
    bool AskRunningEditorToRaise();
    bool Listen(QString& error);

    QString mFolder;
    QString mName;
    std::unique_ptr<QLockFile> mLock;
    std::unique_ptr<QLocalServer> mServer;
    std::function<void()> mOnRaiseRequest;
};
