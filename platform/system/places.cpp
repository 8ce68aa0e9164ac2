#include "platform/system/places.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <cerrno>
#include <sys/stat.h>

namespace places {

QString programFolder()
{
    QString folder = qEnvironmentVariable("SONDREL_HOME");
    if (folder.isEmpty()) {
        const QString data = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
        folder = QDir(data.isEmpty() ? QDir::homePath() + QStringLiteral("/.local/share") : data)
                     .filePath(QStringLiteral("Sondrel"));
    }
    while (folder.size() > 1 && folder.endsWith(u'/'))
        folder.chop(1);
    const QByteArray name = QFile::encodeName(folder);
    if (::mkdir(name.constData(), kPrivateFolderMode) != 0 && errno == ENOENT) {
        QDir().mkpath(QFileInfo(folder).absolutePath());
        ::mkdir(name.constData(), kPrivateFolderMode);
    }
    return folder;
}

QString programFile(const QString& name)
{
    const QString folder = programFolder();
    // The root folder already ends in its separator.
    return folder.endsWith(u'/') ? folder + name : folder + u'/' + name;
}

QString serialPortDevice(int n)
{
    if (n < 1)
        return QString();
    const QString over = qEnvironmentVariable(qPrintable(QStringLiteral("SONDREL_COM%1").arg(n)));
    if (!over.isEmpty())
        return over;
    return QStringLiteral("/dev/ttyS%1").arg(n - 1);
}

} // namespace places
