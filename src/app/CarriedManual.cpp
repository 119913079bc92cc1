#include "app/CarriedManual.h"

#include "StompletResourcePaths.h"
#include "ui/UserManual.h"

#include <QByteArray>
#include <QFile>
#include <QString>

std::optional<std::string> ReadCarriedManual()
{
    const std::string path = std::string(kStompletManualFolder) + std::string(kUserManualFileName);
    QFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QByteArray bytes = file.readAll();
    if (bytes.isEmpty())
        return std::nullopt;
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}
