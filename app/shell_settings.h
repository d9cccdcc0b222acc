// What the shell keeps between runs, in the desktop's per-user settings store
// (~/.config/tarnwick/tarnwick.conf): the main window's size and position,
// and the folders besides a document's own that its DTDs, entities and
// schemas may be read from.
// The recently used files are kept there too (recent_files.h).
#pragma once

#include <QSettings>
#include <QStringList>
#include <memory>
#include <string>
#include <vector>

class QWidget;

std::unique_ptr<QSettings> OpenShellSettings();

// Puts the window where it was when StoreWindowGeometry last ran; false when
// nothing was stored or the stored value is unusable.
bool RestoreWindowGeometry(QWidget &window);
void StoreWindowGeometry(const QWidget &window);

QStringList StoredAllowedFolders();
void StoreAllowedFolders(const QStringList &folders);
// The folders --allow-external names, allowed for this run only.
void AllowFoldersForThisRun(const std::vector<std::string> &folders);
// Lets the XML layer read external resources from the stored folders and
// this run's.
void ApplyAllowedFolders();
