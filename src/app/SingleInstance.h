#pragma once

#include <QObject>
#include <QString>
#include <functional>
#include <memory>

class QLocalServer;

// One editor per user and settings folder. The first start listens on a local socket whose name
// is derived from the user and the folder; a later start with the same folder finds it, asks the
// running editor to raise its window, and leaves. A socket file left behind by a crash is
// detected (nobody answers) and replaced.
// [main thread]
class SingleInstance final : public QObject
{
public:
    SingleInstance(const QString& settingsDir, QObject* parent = nullptr);
    ~SingleInstance() override;

    // True when another editor with this settings folder runs; it has been asked to raise itself.
    bool HandOverToRunningInstance();
    // Starts listening; `onRaiseRequest` runs whenever a later start asks. False (with `error`)
    // when the socket cannot be created: the editor then runs without the single-instance rule.
    bool Listen(std::function<void()> onRaiseRequest, QString& error);

    static QString SocketName(const QString& settingsDir);

private:
    QString mName;
    std::unique_ptr<QLocalServer> mServer;
    std::function<void()> mOnRaiseRequest;
};
