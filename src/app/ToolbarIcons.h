#pragma once
// The toolbar buttons' pictures: the desktop theme's icon for each command, else Qt's
// style's, else a simple drawing of our own; none for a command without a picture.

#include <QIcon>

class QStyle;

QIcon toolbarIcon(unsigned command, const QStyle* style);
