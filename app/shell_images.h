// The pictures of the shell: the tool bar's 32 x 32 images and the background
// images of the tool bar, caption and status strips, all made in code.
#pragma once

#include <QIcon>
#include <QPixmap>

// Image `index` of the tool bar's image list: the desktop icon theme's picture
// for that command, or a small drawn picture of our own when the theme has none.
QIcon ToolBarImage(int index);

enum class StripKind { ToolBar, Caption, Status, DialogHeader };

// A background image for a strip; strips stretch it to their size.
QPixmap StripBackground(StripKind kind);
