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
    EXPECT_EQ(hb::leftCharacters(QStringLiteral("a𠮷野"), 2), QStringLiteral("a𠮷"));
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

// What a grower may paste into the pesticide, shipment and voucher boxes: a box takes it whole or
// refuses it whole, and the data layer stores it whole or refuses it, the same on both backends.
TEST_P(TextLimitSaved, HostileTextIsStoredWholeOrRefusedWhole)
{
    hb::loadSchema(db(), hb::Schema::Data);
    const struct {
        const char *column, *key;
        int limit;  // the box's
    } boxes[] = {{"D_CHEMI.CHEMI_NM", "CHEMI_ID", 250}, {"D_CHEMI.NOTES", "CHEMI_ID", 255},
                 {"D_SHIP.NOTES", "SHIP_ID", 255},     {"D_LEDGE.NOTES", "LEDGE_ID", 50}};
    const QString kanji = QStringLiteral("𠮷");
    const QString texts[] = {
        kanji.repeated(255), QString(254, QLatin1Char('a')) + kanji, QStringLiteral("🍅👨‍🌾🇯🇵"),
        QStringLiteral("a") + QChar(0) + QStringLiteral("b"), QChar(0) + QString(255, QLatin1Char('z')),
    };
    int id = 0;
    for (const auto &b : boxes) {
        const QString column = QString::fromLatin1(b.column);
        const QString table = column.section('.', 0, 0), name = column.section('.', 1);
        for (const QString &text : texts) {
            SCOPED_TRACE(column.toStdString() + " " + std::to_string(text.size()));
            QLineEdit box;
            hb::limitCharacters(&box, b.limit);
            hbtest::typeText(&box, text);
            EXPECT_EQ(box.text(), hb::characterCount(text) <= b.limit ? text : QString());

            const bool fits = hb::characterCount(text) <= hb::columnLength(column);
            QString refusal;
            try {
                db().EXEC(QStringLiteral("INSERT INTO %1 (FMR_ID, %2, %3) VALUES (1, ?, ?)").arg(table, b.key, name),
                          {Value(++id), Value(text)});
            } catch (const hb::HbError &e) {
                refusal = e.description();
            }
            EXPECT_EQ(refusal, fits ? QString() : hb::DbObject::tooLongText(name));
            auto rs = db().GetFwdOnlyRst(QStringLiteral("SELECT %1 FROM %2 WHERE %3=?").arg(name, table, b.key), {Value(id)});
            EXPECT_EQ(rs->eof() ? Value() : rs->Fields(0), fits ? Value(text) : Value());
        }
    }
}

}  // namespace
