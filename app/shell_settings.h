// What the shell keeps between runs, in the desktop's per-user settings store
// (~/.config/tarnwick/tarnwick.conf): the main window's size and position.
// The recently used files are kept there too (recent_files.h).
#pragma once

#include <QSettings>
#include <memory>

class QWidget;

std::unique_ptr<QSettings> OpenShellSettings();

// Puts the window where it was when StoreWindowGeometry last ran; false when
// nothing was stored or the stored value is unusable.
bool RestoreWindowGeometry(QWidget &window);
void StoreWindowGeometry(const QWidget &window);
