#include "records/child_folders.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QSysInfo>
#include <cstdint>

namespace {

const QString kUnnamedFolder = QStringLiteral("_unnamed");
constexpr char kCutMark = '_';  // never part of an encoded name: '_' itself is encoded
constexpr int kFolderNameBytes = 200;

// Letters and digits of any script stay as they are, so that a parent can find a child's
// folder; everything else becomes %XX of its UTF-8 bytes.
QByteArray Encode(const QString& name) {
    QByteArray out;
    const QList<uint> points = name.toUcs4();
    for (qsizetype i = 0; i < points.size(); ++i) {
        const char32_t c = points[i];
        const QString one = QString::fromUcs4(&c, 1);
        const bool edge = i == 0 || i == points.size() - 1;
        const bool plain = QChar::isLetterOrNumber(c) || (c == '-' && !edge) || (c == ' ' && !edge);
        if (plain) {
            out += one.toUtf8();
            continue;
        }
        for (unsigned char byte : one.toUtf8())
            out += '%' + QByteArray::number(byte, 16).rightJustified(2, '0').toUpper();
    }
    return out;
}

// Folds a byte string to 16 hex digits: the part of a long name cut away stays distinct.
QByteArray Fingerprint(const QByteArray& bytes) {
    std::uint64_t hash = 14695981039346656037ULL;
    for (unsigned char byte : bytes) hash = (hash ^ byte) * 1099511628211ULL;
    return QByteArray::number(static_cast<qulonglong>(hash), 16).rightJustified(16, '0');
}

}  // namespace

QString DefaultRecordsDir() {
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + "/records";
}

QString ChildName(const QString& typed) {
    return typed.normalized(QString::NormalizationForm_KC).simplified();
}

QString ChildFolderName(const QString& typed) {
    const QString childName = ChildName(typed);
    if (childName.isEmpty()) return kUnnamedFolder;
    QByteArray folder = Encode(childName);
    if (folder.size() <= kFolderNameBytes) return QString::fromUtf8(folder);
    // Cut at a whole character or %XX, and mark the cut with what it took away.
    QString kept = childName;
    while (Encode(kept).size() > kFolderNameBytes - 17) kept.chop(1);
    return QString::fromUtf8(Encode(kept) + kCutMark + Fingerprint(childName.toUtf8()));
}

QString ChildNameOfFolder(const QString& folderName) {
    if (folderName == kUnnamedFolder) return {};
    const qsizetype cut = folderName.indexOf(QChar(kCutMark));
    const QString encoded = cut < 0 ? folderName : folderName.left(cut);
    const QString name = QString::fromUtf8(QByteArray::fromPercentEncoding(encoded.toUtf8()));
    return cut < 0 ? name : name + QStringLiteral("…");
}

QString ComputerFileName(const QString& installationId) {
    const QString host = QSysInfo::machineHostName();
    return (host.isEmpty() ? QStringLiteral("computer") : QString::fromUtf8(Encode(host))) + '-' +
           QString::fromUtf8(Encode(installationId)) + ".csv";
}

QStringList ChildFolders(const QString& recordsDir) {
    QStringList folders;
    const QDir dir(recordsDir);
    for (const QString& folder : dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name))
        if (!QDir(dir.filePath(folder)).entryList({"*.csv"}, QDir::Files).isEmpty())
            folders.append(folder);
    return folders;
}
