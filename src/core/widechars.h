#pragma once
// Full-width forms of text: what the registered pesticide names look like in this program.

#include <QString>

namespace hb {

// The text with its half-width characters in their full-width forms: the printable ASCII
// characters (U+0021-U+007E to U+FF01-U+FF5E), the space (U+3000) and the half-width katakana
// and signs, a voiced or semi-voiced mark joining the kana before it where the pair has one
// character ("ｶﾞ" -> "ガ", "ﾊﾟ" -> "パ", "ｳﾞ" -> "ヴ"). Everything else stays as it is.
QString toFullWidth(const QString &text);

}  // namespace hb
