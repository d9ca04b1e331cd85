// The price-tag export: the CSV line format and file, and the export dialog driven as a person
// would, on both kinds of data database.

#include "common/programbackends.h"
#include "printing/printfixture.h"
#include "core/datepicker.h"
#include "core/db.h"
#include "core/forms.h"
#include "core/globals.h"
#include "core/helpers.h"
#include "printing/expptag.h"
#include "printing/fdlexppricetag.h"
#include "printing/ptag.h"

#include <QApplication>
#include <QCalendarWidget>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <iconv.h>
#include <optional>

using hb::Currency;
using hb::Value;
using hbtest::Backend;
using hbtest::settle;

namespace {

QString fromCp932(const QByteArray &bytes)
{
    iconv_t cd = iconv_open("UTF-8", "CP932");
    QByteArray out(bytes.size() * 3 + 4, '\0');
    char *in = const_cast<char *>(bytes.constData());
    std::size_t inLeft = static_cast<std::size_t>(bytes.size());
    char *o = out.data();
    std::size_t outLeft = static_cast<std::size_t>(out.size());
    iconv(cd, &in, &inLeft, &o, &outLeft);
    iconv_close(cd);
    out.resize(out.size() - static_cast<qsizetype>(outLeft));
    return QString::fromUtf8(out);
}

// The items of one line; a quoted item keeps its quotes, "" inside it stays doubled.
QStringList items(const QString &line)
{
    QStringList out;
    QString cur;
    bool quoted = false;
    for (const QChar c : line) {
        if (c == QLatin1Char('"'))
            quoted = !quoted;
        if (c == QLatin1Char(',') && !quoted) {
            out << cur;
            cur.clear();
        } else {
            cur += c;
        }
    }
    out << cur;
    return out;
}

hb::PtagRec tag(const QString &jan, const QString &prd, double price, int labels, bool plas)
{
    hb::PtagRec r;
    r.KIND = hb::PtagRec::kShipmentKind;
    r.FMR_ID = 7;
    r.PRD_ID = 123;
    r.PRD_NM = prd;
    r.LABEL_CNT = labels;
    r.LABEL.JAN_CD = jan;
    r.LABEL.QR_TEXT = QStringLiteral("http://shop.example/cropsight/7/5/");
    r.LABEL.FMR_NM = QStringLiteral("山田太郎");
    r.LABEL.TEL_NO_S = QStringLiteral("0263-12-3456");
    r.LABEL.PRD_NM = prd;
    r.LABEL.SHOP_PRC = Currency::fromDouble(price);
    r.LABEL.LOCATE = QStringLiteral("信州");
    r.LABEL.PLAS = plas;
    return r;
}

TEST(PriceTagCsv, LineHasTheTwentyFourItemsInTheirForms)
{
    struct Case {
        const char *what;
        hb::PtagRec row;
        const char *line;
    };
    hb::PtagRec noUrl = tag("4901234567894", "ﾄﾏﾄ", 0, 0, false);
    noUrl.LABEL.QR_TEXT.clear();
    const Case cases[] = {
        {"typical", tag("4901234567894", "トマト", 198, 3, true),
         "#FALSE#,1,0,\"4901234567894\",\"http://shop.example/cropsight/7/5/\",7,\"山田太郎\",123,\"トマト\","
         "\"0263-12-3456\",\"トマト\",0,198,\"\",\"\",0,0,\"\",0,#1899-12-30 00:00:00#,\"\",3,\"信州\",#TRUE#"},
        {"fraction and negative price, quotes doubled", tag("0", "\"特\",大", -19.8, 1, false),
         "#FALSE#,1,0,\"0\",\"http://shop.example/cropsight/7/5/\",7,\"山田太郎\",123,\"\"\"特\"\",大\","
         "\"0263-12-3456\",\"\"\"特\"\",大\",0,-19.8,\"\",\"\",0,0,\"\",0,#1899-12-30 00:00:00#,\"\",1,\"信州\",#FALSE#"},
        {"no web address", noUrl,
         "#FALSE#,1,0,\"4901234567894\",\"\",7,\"山田太郎\",123,\"ﾄﾏﾄ\",\"0263-12-3456\",\"ﾄﾏﾄ\",0,0,\"\",\"\",0,0,"
         "\"\",0,#1899-12-30 00:00:00#,\"\",0,\"信州\",#FALSE#"},
    };
    for (const Case &c : cases) {
        const QString line = hb::PtagCsvLine(c.row);
        EXPECT_EQ(line, QString::fromUtf8(c.line)) << c.what;
        EXPECT_EQ(items(line).size(), 24) << c.what;
    }
}

TEST(PriceTagCsv, TextIsWrittenInCodePage932)
{
    EXPECT_EQ(hb::toCp932(QStringLiteral("A日ｶ")), QByteArray("A\x93\xfa\xb6"));
    // What has no code there becomes "?", and nothing else is lost.
    EXPECT_EQ(hb::toCp932(QStringLiteral("a😀b")), QByteArray("a?b"));
}

TEST(PriceTagCsv, FileNameAndFolder)
{
    EXPECT_EQ(hb::PtagCsvFileName(QDate(2024, 6, 1), QDate(2024, 12, 31), 12, 1), "240601-241231-12-1.csv");
    EXPECT_EQ(hb::PtagCsvPath("/out", "a.csv"), "/out/a.csv");
    EXPECT_EQ(hb::PtagCsvPath("/out/", "a.csv"), "/out/a.csv");
}

TEST(PriceTagCsv, ExistingFileIsReplacedUnlessReadOnlyAndAFailedWriteKeepsIt)
{
    QTemporaryDir tmp;
    const QString path = tmp.filePath("x.csv");
    const QByteArray old = "old line 1\r\nold line 2\r\nold line 3\r\n";
    // Read-only by the permission bits is refused whoever runs the program, the administrator too.
    struct Case {
        const char *what;
        QFile::Permissions permissions;
        bool replaced;
    } cases[] = {
        {"writable", QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther, true},
        {"read-only", QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther, false},
        {"no permission at all", {}, false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        QFile::remove(path);
        {
            QFile f(path);
            ASSERT_TRUE(f.open(QIODevice::WriteOnly));
            f.write(old);
        }
        ASSERT_TRUE(QFile::setPermissions(path, c.permissions));
        if (c.replaced) {
            EXPECT_EQ(hb::WritePtagCsv(path, {tag("1", "a", 1, 1, true)}), 1);
        } else {
            try {
                hb::WritePtagCsv(path, {tag("1", "a", 1, 1, true)});
                ADD_FAILURE() << "a read-only file was written";
            } catch (const hb::HbError &e) {
                EXPECT_EQ(e.number(), 75);
                EXPECT_EQ(e.description(), "ファイルに書き込めません（読み取り専用）：" + path);
            }
        }
        QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        const QByteArray content = f.readAll();
        if (c.replaced) {
            EXPECT_EQ(content.count("\r\n"), 1);
            EXPECT_TRUE(content.startsWith("#FALSE#,1,0,\"1\""));
        } else {
            EXPECT_EQ(content, old);
        }
    }
    EXPECT_THROW(hb::WritePtagCsv(tmp.filePath("missing/x.csv"), {tag("1", "a", 1, 1, true)}), hb::HbError);
    EXPECT_EQ(QDir(tmp.path()).entryList(QDir::Files), QStringList{"x.csv"});
}

class PriceTagExport : public hbtest::ProgramBackends {
protected:
    void SetUp() override
    {
        ProgramBackends::SetUp();
        if (IsSkipped())
            return;
        hb::gShopID = Value(1);
        hb::gFmrID = Value(1);
        hb::gPtagData.clear();
        hbtest::putTagShop(1, Value("shop.example"));
        hbtest::putTagShop(2, Value::null());
        hbtest::putTagGrowers();
    }
    void TearDown() override
    {
        hb::destroyForms();
        hb::gPtagData.assign(1, hb::PtagDataRec());  // as at the start
        hb::gShopID = Value();
        hb::gFmrID = Value();
        ProgramBackends::TearDown();
    }

    static QString literal(const QDate &d) { return "#" + d.toString("yyyy-MM-dd") + "#"; }
    static void ship(long fmr, long id, const QDate &day, long shop, const QString &name, double price,
                     const Value &qty, const QString &locate = QStringLiteral("信州"))
    {
        hb::gDb->EXEC("INSERT INTO D_SHIP (FMR_ID, SHIP_ID, SHIP_DATE, SHOP_ID, PLANT_ID, PRD_ID, PRD_NM, LOCATE, "
                      "PLAS, SHOP_PRC, SHIP_QTY) VALUES (?, ?, " + literal(day) + ", ?, 5, ?, ?, ?, -1, ?, ?)",
                      {Value(fmr), Value(id), Value(shop), Value(id * 10), Value(name), Value(locate),
                       Value(Currency::fromDouble(price)), qty});
    }
    hb::fdlExpPriceTag &open()
    {
        auto &f = hb::form<hb::fdlExpPriceTag>();
        f.showModeless();
        EXPECT_TRUE(hbtest::activate(&f));
        settle();
        return f;
    }
    static QWidget *focused() { return QApplication::focusWidget(); }
    static QString text(const hb::Value &v) { return v.isEmpty() || v.isNull() ? QString() : v.toString(); }
    static QString ymd(const QDate &d) { return d.toString("yyyy/MM/dd"); }

    QTemporaryDir out;
};

TEST_P(PriceTagExport, DefaultPeriodFollowsTheLastExportAndTheLatestShipment)
{
    const QDate today = QDate::currentDate();
    struct Case {
        const char *what;
        std::optional<int> last;       // days from today of LAST_EXP_PTAG_DATE
        std::optional<int> shipment;   // days from today of the grower's latest shipment to the shop
        int from, to;                  // expected, days from today
    };
    const Case cases[] = {
        {"first export, no shipment", {}, {}, 0, 0},
        {"first export, shipment ahead", {}, 3, 0, 3},
        {"first export, shipment before today", {}, -2, 0, 0},
        {"last export today: from today again", 0, 0, 0, 0},
        {"last export yesterday, shipment today", -1, 0, 0, 0},
        {"last export ten days ago", -10, -2, -9, -2},
        {"latest shipment before the day after the last export", -3, -5, 0, 0},
    };
    long id = 0;
    for (const Case &c : cases) {
        hb::gDb->EXEC("DELETE FROM D_SHIP");
        // Other growers' and other shops' shipments never set the period.
        ship(2, ++id, today.addDays(20), 1, "他", 100, Value(1));
        ship(1, ++id, today.addDays(30), 2, "他店", 100, Value(1));
        if (c.shipment) {
            ship(1, ++id, today.addDays(*c.shipment - 1), 1, "前", 100, Value(1));
            ship(1, ++id, today.addDays(*c.shipment), 1, "最新", 100, Value(1));
        }
        hb::gINI->SaveCtrl("LAST_EXP_PTAG_DATE", c.last ? Value(ymd(today.addDays(*c.last))) : Value(QString()));
        auto &f = open();
        EXPECT_EQ(f.txtCOND[0]->text(), ymd(today.addDays(c.from))) << c.what;
        EXPECT_EQ(f.txtCOND[1]->text(), ymd(today.addDays(c.to))) << c.what;
        EXPECT_EQ(f.windowTitle(), "値札ﾃﾞｰﾀ書出");
        f.Unload();
        settle();
    }
}

TEST_P(PriceTagExport, ExportWritesTheGrowersShipmentsOfThePeriodAndCloses)
{
    const QDate d(2024, 6, 3);
    ship(1, 1, d, 1, "トマト", 198, Value(3));
    ship(1, 2, d.addDays(2), 1, "\"特\"ﾅｽ", 150.5, Value::null(), "長野県");
    ship(1, 3, d.addDays(3), 1, "期間外", 100, Value(1));
    ship(2, 4, d, 1, "他の生産者", 100, Value(1));
    ship(1, 5, d, 2, "他の店", 100, Value(1));

    for (const QString &folder : {out.path(), out.path() + "/"}) {
        SCOPED_TRACE(folder.toStdString());
        const QString path = out.filePath("240603-240605-1-1.csv");
        QFile old(path);
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("stale\r\nstale\r\nstale\r\nstale\r\n");
        old.close();

        ui->prompts.clear();
        auto &f = open();
        f.txtCOND[0]->setText("2024/06/03");
        f.txtCOND[1]->setText("2024/6/5");
        f.txtCOND[2]->setText(folder);
        hbtest::click(f.Command1[1]);
        settle();

        ASSERT_EQ(ui->prompts.size(), 1u);
        EXPECT_EQ(ui->prompts[0].text, "2件のラベルデータを書き出しました。");
        EXPECT_EQ(ui->prompts[0].style, 0);
        EXPECT_EQ(ui->prompts[0].title, hb::kProgramTitle);
        EXPECT_FALSE(hb::IsFormLoaded("fdlExpPriceTag"));
        EXPECT_EQ(text(hb::gINI->GetCtrl("LAST_EXP_PTAG_DATE")), "2024/6/5");

        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        ASSERT_TRUE(bytes.endsWith("\r\n"));
        QStringList lines = fromCp932(bytes).split("\r\n");
        lines.removeLast();
        ASSERT_EQ(lines.size(), 2);
        // The query has no order: tell the lines apart by their product name.
        const QStringList a = items(lines[0]);
        const QStringList first = a[8] == "\"トマト\"" ? a : items(lines[1]);
        const QStringList second = a[8] == "\"トマト\"" ? items(lines[1]) : a;
        for (const QStringList &it : {first, second}) {
            ASSERT_EQ(it.size(), 24);
            EXPECT_EQ(it.mid(0, 3), QStringList({"#FALSE#", "1", "0"}));
            EXPECT_EQ(it[3].size(), 15);  // 13 digits between quotes
            EXPECT_EQ(it[4], "\"http://shop.example/cropsight/1/5/\"");
            EXPECT_EQ(it[5], "1");
            EXPECT_EQ(it[6], "\"山田太郎\"");
            EXPECT_EQ(it[9], "\"0263-12-3456\"");
            EXPECT_EQ(it[10], it[8]);
            EXPECT_EQ(it[19], "#1899-12-30 00:00:00#");
            EXPECT_EQ(it[23], "#TRUE#");
        }
        EXPECT_EQ(first[7], "10");
        EXPECT_EQ(first[12], "198");
        EXPECT_EQ(first[21], "3");
        EXPECT_EQ(first[22], "\"信州\"");
        EXPECT_EQ(second[8], "\"\"\"特\"\"ﾅｽ\"");
        EXPECT_EQ(second[12], "150.5");
        EXPECT_EQ(second[21], "0");  // SHIP_QTY Null
        EXPECT_EQ(second[22], "\"長野県\"");
        EXPECT_EQ(QDir(out.path()).entryList(QDir::Files).size(), 1);
        settle();
    }
}

TEST_P(PriceTagExport, ShopWithoutWebAddressWritesAnEmptyTraceAddress)
{
    hb::gShopID = Value(2);
    ship(1, 1, QDate(2024, 6, 3), 2, "トマト", 198, Value(3));
    auto &f = open();
    f.txtCOND[0]->setText("2024/06/03");
    f.txtCOND[1]->setText("2024/06/03");
    f.txtCOND[2]->setText(out.path());
    EXPECT_EQ(f.ExpData(), 1);
    QFile file(out.filePath("240603-240603-1-2.csv"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(items(fromCp932(file.readAll()))[4], "\"\"");
}

TEST_P(PriceTagExport, RefusedExportsSayWhyKeepTheDialogAndWriteNothing)
{
    ship(1, 1, QDate(2024, 6, 3), 1, "トマト", 198, Value(3));
    QFile plain(out.filePath("plain"));
    ASSERT_TRUE(plain.open(QIODevice::WriteOnly));
    plain.close();
    // A file of the name the period would get: a refused export leaves it untouched.
    QFile kept(out.filePath("240610-240612-1-1.csv"));
    ASSERT_TRUE(kept.open(QIODevice::WriteOnly));
    kept.write("kept");
    kept.close();

    struct Case {
        const char *from, *to;
        QString folder;
        const char *message;
        int focus;  // box that gets the focus, -1 the export button keeps it
    };
    const Case cases[] = {
        {"", "2024/06/03", out.path(), "出荷日を指定してください。", 0},
        {"2024/13/01", "2024/06/03", out.path(), "日付を指定してください。", 0},
        {"2024/06/03", "", out.path(), "出荷日を指定してください。", 1},
        {"2024/06/03", "6月3日'", out.path(), "日付を指定してください。", 1},
        {"2024/06/10", "2024/06/12", out.path(), "出力対象データが登録されていません。", -1},
        {"2024/06/04", "2024/06/02", out.path(), "出力対象データが登録されていません。", -1},
        {"2024/06/03", "2024/06/03", "", "出力先を指定してください。", 2},
        {"2024/06/03", "2024/06/03", out.filePath("missing"), "出力先ディレクトリが存在しません。", 2},
        {"2024/06/03", "2024/06/03", out.filePath("plain"), "出力先ディレクトリが存在しません。", 2},
    };
    auto &f = open();
    for (const Case &c : cases) {
        SCOPED_TRACE(c.message);
        f.txtCOND[0]->setText(QString::fromUtf8(c.from));
        f.txtCOND[1]->setText(QString::fromUtf8(c.to));
        f.txtCOND[2]->setText(c.folder);
        ui->prompts.clear();
        hbtest::click(f.Command1[1]);
        settle();
        ASSERT_GE(ui->prompts.size(), 1u);
        // Focus on a date box holding no date also makes the drop-down report the type mismatch.
        EXPECT_LE(ui->prompts.size(), QString::fromUtf8(c.message) == "日付を指定してください。" ? 2u : 1u);
        EXPECT_EQ(ui->prompts[0].text, QString::fromUtf8(c.message));
        EXPECT_EQ(ui->prompts[0].style, 48);
        EXPECT_EQ(ui->prompts[0].title, hb::kProgramTitle);
        EXPECT_EQ(focused(), c.focus < 0 ? static_cast<QWidget *>(f.Command1[1]) : f.txtCOND[c.focus]);
        EXPECT_TRUE(hb::IsFormLoaded("fdlExpPriceTag"));
    }
    EXPECT_TRUE(text(hb::gINI->GetCtrl("LAST_EXP_PTAG_DATE")).isEmpty());
    EXPECT_EQ(QDir(out.path()).entryList(QDir::Files), QStringList({"240610-240612-1-1.csv", "plain"}));
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), "kept");
}

TEST_P(PriceTagExport, AReadOnlyFileOfThePeriodIsRefusedAndKept)
{
    ship(1, 1, QDate(2024, 6, 3), 1, "トマト", 198, Value(3));
    const QString path = out.filePath("240603-240603-1-1.csv");
    {
        QFile kept(path);
        ASSERT_TRUE(kept.open(QIODevice::WriteOnly));
        kept.write("kept");
    }
    ASSERT_TRUE(QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
    auto &f = open();
    f.txtCOND[0]->setText("2024/06/03");
    f.txtCOND[1]->setText("2024/06/03");
    f.txtCOND[2]->setText(out.path());
    hbtest::click(f.Command1[1]);
    settle();
    ASSERT_EQ(ui->prompts.size(), 1u);
    EXPECT_EQ(ui->prompts[0].text, "ファイルに書き込めません（読み取り専用）：" + path);
    EXPECT_EQ(ui->prompts[0].style, 48);
    EXPECT_EQ(ui->prompts[0].title, hb::kProgramTitle);
    EXPECT_TRUE(hb::IsFormLoaded("fdlExpPriceTag"));
    EXPECT_TRUE(text(hb::gINI->GetCtrl("LAST_EXP_PTAG_DATE")).isEmpty());
    EXPECT_EQ(QDir(out.path()).entryList(QDir::Files), QStringList{"240603-240603-1-1.csv"});
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
    QFile kept(path);
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), "kept");
}

TEST_P(PriceTagExport, OutputFolderIsStoredWhenPickedOrLeftEvenWithoutExport)
{
    hb::Form menu(QStringLiteral("fmnMain"));
    menu.showModeless();
    settle();
    auto &f = open();

    ui->folders = {QString()};  // cancelled picker
    hbtest::click(f.Command1[2]);
    settle();
    EXPECT_EQ(f.txtCOND[2]->text(), "");
    EXPECT_TRUE(text(hb::gINI->GetCtrl("EXP_PTAG_DIR")).isEmpty());
    ASSERT_EQ(ui->prompts.size(), 0u);

    ui->folders = {out.path()};
    hbtest::click(f.Command1[2]);
    settle();
    EXPECT_EQ(f.txtCOND[2]->text(), out.path());
    EXPECT_EQ(focused(), f.txtCOND[2]);
    EXPECT_EQ(text(hb::gINI->GetCtrl("EXP_PTAG_DIR")), out.path());

    // Typing a folder with a quote and leaving the box stores it as typed.
    const QString typed = out.path() + "/山田's #1";
    f.txtCOND[2]->setText(typed);
    hbtest::pressKey(Qt::Key_Tab);
    settle();
    EXPECT_EQ(text(hb::gINI->GetCtrl("EXP_PTAG_DIR")), typed);

    hbtest::click(f.Command1[0]);  // cancel with the menu loaded: the dialog unloads
    settle();
    EXPECT_FALSE(hb::IsFormLoaded("fdlExpPriceTag"));
    EXPECT_TRUE(ui->endCodes.empty());
    EXPECT_EQ(text(hb::gINI->GetCtrl("EXP_PTAG_DIR")), typed);
    EXPECT_EQ(open().txtCOND[2]->text(), typed);
    menu.Unload();
}

TEST_P(PriceTagExport, CancelEndsTheProgramWithoutTheMainMenu)
{
    auto &f = open();
    EXPECT_THROW(hbtest::click(f.Command1[0]), hb::ProgramEnded);
    EXPECT_EQ(ui->endCodes, std::vector<int>{0});
}

TEST_P(PriceTagExport, DateBoxesDropThePickerAndAResizeKeepsInput)
{
    auto &f = open();
    hbtest::focusByClick(f.txtCOND[0]);
    settle();
    EXPECT_TRUE(f.picker->isShown());
    EXPECT_GE(f.picker->MonthView1()->x(), 0);  // whole month inside the window
    f.picker->DateClick(QDate(2024, 7, 9));
    settle();
    EXPECT_EQ(f.txtCOND[0]->text(), "2024/07/09");
    // The picked day moves on to the to box, which drops the picker under itself.
    EXPECT_EQ(focused(), f.txtCOND[1]);
    EXPECT_EQ(f.picker->tag(), "1");
    f.txtCOND[2]->setText("/somewhere");
    hbtest::resizeOuter(&f, QSize(760, 570));
    settle();
    EXPECT_EQ(f.txtCOND[0]->text(), "2024/07/09");
    EXPECT_EQ(f.txtCOND[2]->text(), "/somewhere");
    if (GetParam() == Backend::Sqlite) {
        hbtest::focusByClick(f.txtCOND[1]);
        settle();
        EXPECT_TRUE(hbtest::savePicture(&f, "/tmp/fdlExpPriceTag_picker.png"));
    }
}

TEST_P(PriceTagExport, LooksTidyAtItsDesignSize)
{
    if (GetParam() != Backend::Sqlite)
        GTEST_SKIP() << "the picture does not depend on the database";
    hb::gINI->SaveCtrl("EXP_PTAG_DIR", Value(QStringLiteral("/home/grower/値札データ")));
    auto &f = open();
    EXPECT_EQ(f.font().family(), "Noto Sans CJK JP");
    EXPECT_TRUE(hbtest::savePicture(&f, "/tmp/fdlExpPriceTag.png"));
    hbtest::focusByClick(f.txtCOND[2]);
    settle();
    EXPECT_FALSE(f.picker->isShown());
    EXPECT_TRUE(hbtest::savePicture(&f, "/tmp/fdlExpPriceTag_folder.png"));
}

HB_INSTANTIATE_BOTH_BACKENDS(PriceTagExport);

}  // namespace
