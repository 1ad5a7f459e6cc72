#pragma once
// The program's name on the desktop: its AppStream component id and the base name of its
// applications-menu entry, the installed one and the shortcut alike. The two entries share
// one file name so that the user's shortcut takes the installed entry's place in the menus
// instead of showing beside it. The build reads the id from this line.

namespace res {

inline constexpr char kAppId[] = "io.github.quillet.Quillet";

} // namespace res
