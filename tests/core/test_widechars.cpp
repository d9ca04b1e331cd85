// Full-width forms of the registered pesticide names.

#include "core/widechars.h"

#include <gtest/gtest.h>

namespace {

TEST(FullWidth, HalfWidthTextBecomesFullWidth)
{
    struct { const char *in; const char *out; } cases[] = {
        {"ｶﾞｰﾄﾞA-1", "ガードＡ－１"},
        {"ﾊﾟﾋﾟﾌﾟﾍﾟﾎﾟ ﾊﾞﾋﾞﾌﾞﾍﾞﾎﾞ", "パピプペポ　バビブベボ"},
        {"ｶﾞｷﾞｸﾞｹﾞｺﾞｻﾞｼﾞｽﾞｾﾞｿﾞﾀﾞﾁﾞﾂﾞﾃﾞﾄﾞ", "ガギグゲゴザジズゼゾダヂヅデド"},
        {"ｳﾞｧｲｵﾘﾝ", "ヴァイオリン"},
        {"ﾅﾞｯﾞﾞ", "ナ゛ッ゛゛"},  // marks with no joined form stay marks of their own
        {"ｧｨｩｪｫｬｭｮｯ｡｢｣､･ｦﾜﾝ", "ァィゥェォャュョッ。「」、・ヲワン"},
        {"!~\"\\", "！～＂＼"},
        {"全角のまま　ＡＢ", "全角のまま　ＡＢ"},
        {"", ""},
    };
    for (const auto &c : cases)
        EXPECT_EQ(hb::toFullWidth(QString::fromUtf8(c.in)), QString::fromUtf8(c.out)) << c.in;
}

}  // namespace
