#include "app/installation_id.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QSettings>

#include "app/records_keeper.h"

namespace {

QByteArray ReadSmallFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.read(256).trimmed() : QByteArray();
}

// What tells this machine from its clones: the system's machine id, which imaging tools
// usually make anew, and the network cards' addresses, which they cannot copy.
QString MachineKey() {
    QCryptographicHash hash(QCryptographicHash::Sha1);
    hash.addData(ReadSmallFile(QStringLiteral("/etc/machine-id")));
    const QDir net(QStringLiteral("/sys/class/net"));
    for (const QString& card : net.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name))
        if (QFileInfo::exists(net.filePath(card + "/device")))
            hash.addData(ReadSmallFile(net.filePath(card + "/address")));
    return QString::fromLatin1(hash.result().toHex().left(12));
}

}  // namespace

QString InstallationId() {
    auto settings = FizmoSettings();
    const QString key = QStringLiteral("records/computers/") + MachineKey();
    QString id = settings->value(key).toString();
    if (id.size() != 8) {
        id = QString::number(QRandomGenerator::system()->generate(), 16).rightJustified(8, '0');
        settings->setValue(key, id);
    }
    return id;
}
