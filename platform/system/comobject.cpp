#include "platform/system/comobject.h"

#include "platform/system/ptt_guard.h"
#include "platform/widgets/dialogs.h"

#include <QCoreApplication>
#include <QDir>
#include <QJsonObject>
#include <QLibrary>
#include <QPluginLoader>

namespace {

// Boxes a component shows go through the program's own dialogs.
int hostMessageBox(const QString& text, int style, const QString& title)
{
    return dlg::MsgBox(text, style, title);
}

QString progIdOf(const QPluginLoader& loader)
{
    return loader.metaData().value(QStringLiteral("MetaData")).toObject()
        .value(QStringLiteral("ProgID")).toString();
}

} // namespace

QStringList ComObject::searchFolders()
{
    QStringList folders;
    if (QCoreApplication::instance())
        folders << QCoreApplication::applicationDirPath();
#ifdef SONDREL_PLUGIN_DIR
    folders << QStringLiteral(SONDREL_PLUGIN_DIR);
#endif
    folders.removeDuplicates();
    return folders;
}

std::unique_ptr<ComObject> ComObject::create(const QString& progId, QString* error)
{
    // A component that keys a transmitter keeps what releases it where the host can reach it.
    pttguard::publish();
    const QStringList folders = searchFolders();
    for (const QString& folder : folders) {
        const QDir dir(folder);
        for (const QString& name : dir.entryList(QDir::Files, QDir::Name)) {
            const QString path = dir.filePath(name);
            if (!QLibrary::isLibrary(path))
                continue;
            QPluginLoader loader(path);
            if (progIdOf(loader).compare(progId, Qt::CaseInsensitive) != 0)
                continue;
            QObject* factory = loader.instance();
            if (!factory) {
                if (error)
                    *error = QStringLiteral("The component %1 could not be loaded from %2: %3")
                                 .arg(progId, path, loader.errorString());
                return nullptr;
            }
            QObject* object = nullptr;
            if (!QMetaObject::invokeMethod(factory, "create", Qt::DirectConnection,
                                           Q_RETURN_ARG(QObject*, object))
                || !object) {
                if (error)
                    *error = QStringLiteral("The component %1 in %2 did not create an object.")
                                 .arg(progId, path);
                return nullptr;
            }
            object->setProperty("hostMessageBox",
                                QVariant::fromValue(reinterpret_cast<quintptr>(&hostMessageBox)));
            return std::unique_ptr<ComObject>(new ComObject(object, progId));
        }
    }
    if (error)
        *error = QStringLiteral("The component %1 is not installed (looked in %2).")
                     .arg(progId, folders.join(QStringLiteral(", ")));
    return nullptr;
}

ComObject::ComObject(QObject* object, QString progId)
    : object_(object)
    , progId_(std::move(progId))
{
}

ComObject::~ComObject()
{
    delete object_.data();
}

QVariant ComObject::call(const QString& member, QVariantList& args, QString* error)
{
    QVariant result;
    QString failure;
    if (!object_) {
        failure = QStringLiteral("Error # 91 Object variable or With block variable not set");
    } else if (!QMetaObject::invokeMethod(object_, "invoke", Qt::DirectConnection,
                                          Q_RETURN_ARG(QVariant, result), Q_ARG(QString, member),
                                          Q_ARG(QVariantList&, args), Q_ARG(QString&, failure))) {
        failure = QStringLiteral("Error # 438 Object doesn't support this property or method");
    }
    if (error)
        *error = failure;
    return failure.isEmpty() ? result : QVariant();
}

QVariant ComObject::call(const QString& member, const QVariantList& args, QString* error)
{
    QVariantList copy = args;
    return call(member, copy, error);
}

int ComObject::dispatchId(const QString& member) const
{
    int id = -1;
    if (object_)
        QMetaObject::invokeMethod(object_, "dispatchId", Qt::DirectConnection, Q_RETURN_ARG(int, id),
                                  Q_ARG(QString, member));
    return id;
}
