#pragma once
// Private to platform/nls: the ICU converters behind the code-page table, opened once and
// kept. Each thread has its own set, since an ICU converter carries conversion state.

#include "platform/nls/CodePageTable.h"

struct UConverter;

namespace platform::nls::detail {

// True when ICU can open the page's converter. Tried once per process, then remembered.
bool isInstalled(const PageEntry& page);

// This thread's converter for the page, reset to its initial state, with fallback (best
// fit) mappings on; null when the page is not installed. Owned by the cache.
UConverter* converterFor(const PageEntry& page);

} // namespace platform::nls::detail
