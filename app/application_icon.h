// The application's icon, drawn from the same picture the desktop entry
// installs into the icon theme.
#pragma once

#include <QIcon>

// The icon at the sizes window managers and task bars ask for.
QIcon ApplicationIcon();
