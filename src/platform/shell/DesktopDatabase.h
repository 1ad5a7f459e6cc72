#pragma once
// The cache of an applications folder that says which of its entries open which types of
// file: desktops built on GLib offer an entry under "Open with" only when the cache of its
// folder lists it, and an entry of the user's hides any system entry of the same name,
// cache and all. Qt-free.

#include <string>

namespace platform::shell {

// Writes folder's mimeinfo.cache again from the entries there, with the desktop's own
// update-desktop-database when it is installed. Waits for it a few seconds at most. False
// when it could not be run or failed; the entries themselves work without the cache.
bool refreshDesktopDatabase(const std::string& folder);

} // namespace platform::shell
