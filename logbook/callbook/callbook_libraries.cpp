#include "logbook/callbook/callbook_libraries.h"

#include "platform/system/places.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibrary>
#include <map>
#include <memory>

namespace callbook {

namespace {

QStringList g_folders;
Resolver g_resolver;

// Loaded libraries stay loaded for the run: the QRZ library keeps its disc open between look-ups.
std::map<QString, std::unique_ptr<QLibrary>>& loaded()
{
    static std::map<QString, std::unique_ptr<QLibrary>> libraries;
    return libraries;
}

QLibrary* load(const QString& library)
{
    for (const QString& folder : searchFolders()) {
        const QString path = QDir(folder).filePath(library);
        auto& libraries = loaded();
        auto it = libraries.find(path);
        if (it != libraries.end())
            return it->second.get();
        auto lib = std::make_unique<QLibrary>(path);
        if (!lib->load())
            continue;
        return libraries.emplace(path, std::move(lib)).first->second.get();
    }
    return nullptr;
}

} // namespace

QStringList searchFolders()
{
    if (!g_folders.isEmpty())
        return g_folders;
    QStringList folders;
    if (QCoreApplication::instance())
        folders << QCoreApplication::applicationDirPath();
    folders << places::programFolder();
    folders.removeDuplicates();
    return folders;
}

void setSearchFolders(const QStringList& folders)
{
    g_folders = folders;
}

void setResolver(Resolver resolver)
{
    g_resolver = std::move(resolver);
}

std::vector<void*> resolve(const QString& library, std::initializer_list<const char*> entries)
{
    std::vector<void*> found;
    QLibrary* lib = g_resolver ? nullptr : load(library);
    if (!g_resolver && !lib)
        return {};
    for (const char* entry : entries) {
        void* f = g_resolver ? g_resolver(library, entry) : reinterpret_cast<void*>(lib->resolve(entry));
        if (!f)
            return {};
        found.push_back(f);
    }
    return found;
}

} // namespace callbook
