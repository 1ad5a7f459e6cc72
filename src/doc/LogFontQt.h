#pragma once
// The stored font record and Qt's font, each into the other. What a QFont can say goes both
// ways unchanged: the character height as a negative pixel height at the screen's
// resolution, weight, italic, underline, strike-out, pitch, family and face. The record's
// fields that a QFont has no notion of (width, escapement, orientation, character set and
// the three precision fields) are not drawn; the way back takes them from a record the
// caller keeps, so a font read, shown and written again keeps every byte.

#include "doc/LogFont.h"

#include <QFont>

namespace doc {

// The screen's vertical resolution in logical pixels per inch: the primary screen's,
// 96 when there is none.
int screenLogPixelsY();

// The font that draws lf. Qt's pixels are the screen's logical pixels, the ones the
// record's heights count, so no resolution is needed this way.
// - lfHeight < 0 sets the pixel size -lfHeight; > 0 asks for a cell (line) height of that
//   many pixels; 0 leaves the default size. Heights beyond 2048 pixels
//   (a damaged record) are drawn at 2048.
// - Weight 0 leaves the default (normal) weight; other weights are taken as they are
//   (Qt's scale is the record's), limited to 1 .. 1000.
// - A face named "FixedSys", which no Linux system has, falls back to the system's
//   fixed-pitch font, while the font still names "FixedSys" first.
QFont fontFromLogFont(const LogFont& lf);

// The record of font on a screen of logPixelsY pixels per inch. A font sized in points gets
// the nearest whole pixel height. Size, weight, pitch, family and face count only when the
// font sets them; otherwise they are written as "default" (height 0, weight 0, default
// pitch, no family, empty face). The face is the font's first family, cut to 31 units.
// lfWidth is 0; escapement, orientation, character set and the precision and quality bytes
// come from keep.
LogFont logFontFromFont(const QFont& font, int logPixelsY, const LogFont& keep = LogFont{});

} // namespace doc
