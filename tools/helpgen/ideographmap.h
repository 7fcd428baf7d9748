// SPDX-License-Identifier: GPL-3.0-or-later
// Puts back the ideographs that a PDF's ToUnicode maps give as look-alike radicals.
#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>

class QRawFont;

// Qt's PDF writer names each embedded glyph by the lowest character the font
// maps to it. CJK fonts map the radicals (U+2E80 to U+2FDF) to the glyphs of
// the ideographs they look like, so 用 reaches the text layer as ⽤, KANGXI
// RADICAL USE, and a search for 用户 finds nothing.

// The radicals that `font` draws with the glyph of an ideograph of `text`,
// each with that ideograph.
QHash<char16_t, char16_t> radicalsSharingGlyphs(const QRawFont &font, const QString &text);

// Replaces every radical of `radicals` that names a glyph in the ToUnicode maps
// of `pdf` by its ideograph. The maps are plain text with four hex digits per
// character, so this keeps every byte offset of the file. Returns how many
// radicals stay because they sit in a run of consecutive characters, which
// cannot be rewritten in place.
int restoreIdeographs(QByteArray &pdf, const QHash<char16_t, char16_t> &radicals);
