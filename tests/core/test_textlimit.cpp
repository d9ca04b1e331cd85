// Text boxes that take their column's length, counted in characters, and what they take saves
// and reads back whole on both backends.

#include "common/backends.h"
#include "common/harness.h"
#include "core/schema.h"
#include "core/textlimit.h"

#include <QLineEdit>
#include <QtTest/QTest>

using hb::Value;

namespace {

TEST(TextLimit, ColumnsKnowTheirDeclaredLength)
{
    const struct {
        const char *column;
        int length;
    } cases[] = {
        {"D_SHIP.NOTES", 255}, {"d_diary.notes1", 1000}, {"M_PRD.PRD_NM", 255},
        {"D_SHIP.SHOP_PRC", 0}, {"NO_TABLE.NOTES", 0}, {"D_SHIP.NO_COLUMN", 0},
    };
    for (const auto &c : cases)
        EXPECT_EQ(hb::columnLength(c.column), c.length) << c.column;
    EXPECT_EQ(hb::characterCount(QStringLiteral("𠮷野家")), 3);
    EXPECT_EQ(hb::characterCount(QString()), 0);
}

class TextLimitSaved : public hbtest::BothBackends {};
HB_INSTANTIATE_BOTH_BACKENDS(TextLimitSaved);

TEST_P(TextLimitSaved, ABoxTakesItsColumnsLengthInCharactersAndTheTextComesBackWhole)
{
    QLineEdit box;
    hb::limitToColumns({{&box, "D_SHIP.NOTES"}});
    box.show();
    box.setFocus();
    const QString full = QStringLiteral("𠮷") + QString(253, QChar(0x3042)) + QStringLiteral("x");  // 255
    hbtest::typeText(&box, full);
    EXPECT_EQ(box.text(), full);
    QTest::keyClicks(&box, QStringLiteral("y"));  // one more is refused
    hbtest::typeText(&box, QStringLiteral("𠮷"));
    EXPECT_EQ(box.text(), full);

    hb::loadSchema(db(), hb::Schema::Data);
    db().EXEC("INSERT INTO D_SHIP (FMR_ID, SHIP_ID, NOTES) VALUES (1, 1, ?)", {Value(box.text())});
    EXPECT_EQ(db().DLookup("NOTES", "D_SHIP", "FMR_ID=1 AND SHIP_ID=1"), Value(full));

    // A longer stored text is shown whole, and may be shortened but not lengthened.
    const QString stored = full + QStringLiteral("zz");
    box.setText(stored);
    EXPECT_EQ(box.text(), stored);
    QTest::keyClick(&box, Qt::Key_End);
    QTest::keyClicks(&box, QStringLiteral("w"));
    EXPECT_EQ(box.text(), stored);
    QTest::keyClick(&box, Qt::Key_Backspace);
    EXPECT_EQ(box.text(), full + QStringLiteral("z"));
}

}  // namespace
