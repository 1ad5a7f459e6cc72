#include "platform/fx/DropData.h"

#include <QMimeData>
#include <QUrl>

#include <algorithm>

namespace platform::fx {

bool isFileDrop(const QMimeData* data)
{
    if (!data || !data->hasUrls())
        return false;
    const QList<QUrl> urls = data->urls();
    return !urls.isEmpty() &&
           std::all_of(urls.begin(), urls.end(), [](const QUrl& url) { return url.isLocalFile(); });
}

bool isTextDrop(const QMimeData* data)
{
    return data && data->hasText() && !isFileDrop(data);
}

} // namespace platform::fx
