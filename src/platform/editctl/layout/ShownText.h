#pragma once
// The text a layout shows for a stretch of the buffer: each unit as the control draws it
// (see ControlSymbols.h), so that a position in the layout is the position in the buffer.

#include "platform/editctl/ControlSymbols.h"
#include "platform/editctl/TextBuffer.h"

#include <QString>
#include <QTextLayout>

namespace platform {

inline QString shownText(const TextBuffer& buffer, int start, int length)
{
    const std::u16string units = buffer.textRange(start, length);
    QString text(static_cast<qsizetype>(units.size()), Qt::Uninitialized);
    for (size_t i = 0; i < units.size(); ++i)
        text[static_cast<qsizetype>(i)] = QChar(displayCharFor(units[i]));
    return text;
}

// Whether `layout` shows [start, start + length) of the buffer as it is now.
inline bool showsText(const QTextLayout& layout, const TextBuffer& buffer, int start, int length)
{
    return layout.text() == shownText(buffer, start, length);
}

} // namespace platform
