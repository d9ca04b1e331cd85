#include "core/widechars.h"

namespace hb {

namespace {

// U+FF61 to U+FF9F in their full-width forms.
constexpr char16_t kKana[] = {
    u'。', u'「', u'」', u'、', u'・', u'ヲ', u'ァ', u'ィ', u'ゥ', u'ェ', u'ォ', u'ャ', u'ュ', u'ョ', u'ッ', u'ー',
    u'ア', u'イ', u'ウ', u'エ', u'オ', u'カ', u'キ', u'ク', u'ケ', u'コ', u'サ', u'シ', u'ス', u'セ', u'ソ', u'タ',
    u'チ', u'ツ', u'テ', u'ト', u'ナ', u'ニ', u'ヌ', u'ネ', u'ノ', u'ハ', u'ヒ', u'フ', u'ヘ', u'ホ', u'マ', u'ミ',
    u'ム', u'メ', u'モ', u'ヤ', u'ユ', u'ヨ', u'ラ', u'リ', u'ル', u'レ', u'ロ', u'ワ', u'ン', u'゛', u'゜',
};
static_assert(sizeof(kKana) / sizeof(kKana[0]) == 0xFF9F - 0xFF61 + 1);

constexpr char16_t kVoiced = 0xFF9E;
constexpr char16_t kSemiVoiced = 0xFF9F;

// The kana with its voiced (or semi-voiced) mark, or 0 when the pair has no single character.
char16_t joined(char16_t kana, char16_t mark)
{
    const bool ka = kana >= u'カ' && kana <= u'ド' && kana != u'ッ';  // カ..ト: each followed by its voiced form
    const bool ha = kana >= u'ハ' && kana <= u'ポ' && (kana - u'ハ') % 3 == 0;
    if (mark == kVoiced) {
        if (ka && (kana <= u'チ' ? (kana - u'カ') % 2 == 0 : (kana - u'ツ') % 2 == 0))
            return static_cast<char16_t>(kana + 1);
        if (ha)
            return static_cast<char16_t>(kana + 1);
        if (kana == u'ウ')
            return u'ヴ';
        if (kana == u'ワ')
            return u'ヷ';
        if (kana == u'ヲ')
            return u'ヺ';
        return 0;
    }
    if (mark == kSemiVoiced && ha)
        return static_cast<char16_t>(kana + 2);
    return 0;
}

}  // namespace

QString toFullWidth(const QString &text)
{
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text.at(i).unicode();
        if (c == u' ') {
            out += QChar(0x3000);
        } else if (c >= 0x21 && c <= 0x7E) {
            out += QChar(static_cast<char16_t>(c + 0xFEE0));
        } else if (c >= 0xFF61 && c <= 0xFF9F) {
            const char16_t kana = kKana[c - 0xFF61];
            const char16_t next = i + 1 < text.size() ? text.at(i + 1).unicode() : 0;
            const char16_t pair = (next == kVoiced || next == kSemiVoiced) ? joined(kana, next) : 0;
            if (pair != 0) {
                out += QChar(pair);
                ++i;
            } else {
                out += QChar(kana);
            }
        } else {
            out += text.at(i);
        }
    }
    return out;
}

}  // namespace hb
