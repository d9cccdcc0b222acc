#include "app/recent_files.h"

#include "app/shell_settings.h"

#include <QFileInfo>

namespace {

constexpr const char *kKey = "recentFiles";

// One spelling per file, so a file opened by two routes is listed once.
QString Normalised(const QString &path) { return QFileInfo(path).absoluteFilePath(); }

} // namespace

RecentFiles::RecentFiles() { Load(); }

void RecentFiles::Load()
{
    paths_.clear();
    for (const QString &path : OpenShellSettings()->value(QLatin1String(kKey)).toStringList())
        if (!path.isEmpty() && !paths_.contains(Normalised(path)) && paths_.size() < kLimit)
            paths_.append(Normalised(path));
}

void RecentFiles::Add(const QString &path)
{
    // Another window of the run may have changed the stored list meanwhile.
    Load();
    const QString file = Normalised(path);
    paths_.removeAll(file);
    paths_.prepend(file);
    while (paths_.size() > kLimit)
        paths_.removeLast();
    Store();
}

void RecentFiles::Remove(const QString &path)
{
    Load();
    if (paths_.removeAll(Normalised(path)) > 0)
        Store();
}

void RecentFiles::Clear()
{
    paths_.clear();
    Store();
}

void RecentFiles::Store() const { OpenShellSettings()->setValue(QLatin1String(kKey), paths_); }
