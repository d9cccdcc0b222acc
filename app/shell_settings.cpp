#include "app/shell_settings.h"

#include "xml/external_access.h"

#include <QWidget>

namespace {
constexpr const char *kGeometryKey = "window/geometry";
constexpr const char *kAllowedFoldersKey = "xml/allowedExternalFolders";

std::vector<std::string> &FoldersForThisRun()
{
    static std::vector<std::string> folders;
    return folders;
}
} // namespace

std::unique_ptr<QSettings> OpenShellSettings()
{
    return std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("tarnwick"),
                                       QStringLiteral("tarnwick"));
}

bool RestoreWindowGeometry(QWidget &window)
{
    const QByteArray geometry = OpenShellSettings()->value(QLatin1String(kGeometryKey)).toByteArray();
    return !geometry.isEmpty() && window.restoreGeometry(geometry);
}

void StoreWindowGeometry(const QWidget &window)
{
    OpenShellSettings()->setValue(QLatin1String(kGeometryKey), window.saveGeometry());
}

QStringList StoredAllowedFolders()
{
    return OpenShellSettings()->value(QLatin1String(kAllowedFoldersKey)).toStringList();
}

void StoreAllowedFolders(const QStringList &folders)
{
    OpenShellSettings()->setValue(QLatin1String(kAllowedFoldersKey), folders);
}

void AllowFoldersForThisRun(const std::vector<std::string> &folders) { FoldersForThisRun() = folders; }

void ApplyAllowedFolders()
{
    tarnwick::xml::ExternalAccess access = tarnwick::xml::CurrentExternalAccess();
    access.allowedFolders = FoldersForThisRun();
    for (const QString &folder : StoredAllowedFolders())
        access.allowedFolders.push_back(folder.toStdString());
    tarnwick::xml::SetExternalAccess(access);
}
