#include "app/shell_settings.h"

#include <QWidget>

namespace {
constexpr const char *kGeometryKey = "window/geometry";
}

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
