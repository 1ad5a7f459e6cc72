#pragma once
// The program's icon, drawn rather than loaded so that it needs no file beside the program.

#include <QIcon>

namespace res {

QIcon appIcon();

} // namespace res
