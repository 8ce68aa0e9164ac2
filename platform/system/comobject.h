#pragma once
// Late-bound component objects: a plug-in found by its ProgID, whose members are called by
// name with variant arguments passed by reference.
#include <QObject>
#include <QPointer>
#include <QString>
#include <QVariant>
#include <QVariantList>
#include <memory>

class ComObject {
public:
    // Looks for a plug-in whose metadata names `progId` (letter case ignored) beside the
    // executable and in the install's plug-in folder, and creates one object from it.
    // nullptr with a reason in `error` when there is none or it cannot be loaded.
    static std::unique_ptr<ComObject> create(const QString& progId, QString* error = nullptr);

    ~ComObject();
    ComObject(const ComObject&) = delete;
    ComObject& operator=(const ComObject&) = delete;

    // Calls a member by name. The member may rewrite `args`. On failure (no such member,
    // wrong arguments, a type that does not convert) the result is invalid and `error`
    // says why ("Error # 438 Object doesn't support this property or method").
    QVariant call(const QString& member, QVariantList& args, QString* error = nullptr);
    // The same for arguments the caller does not need back.
    QVariant call(const QString& member, const QVariantList& args = {}, QString* error = nullptr);

    // The member's dispatch identifier, -1 when the object has no such member.
    int dispatchId(const QString& member) const;

    QObject* object() const { return object_; }
    QString progId() const { return progId_; }

    // The folders searched, in order.
    static QStringList searchFolders();

private:
    ComObject(QObject* object, QString progId);

    QPointer<QObject> object_;
    QString progId_;
};
