// The shop, grower and product master dialogs, driven as a person would, on both kinds of master
// database.

#include "common/backends.h"
#include "common/failingstatement.h"
#include "common/globaldbs.h"
#include "common/harness.h"
#include "common/programdir.h"
#include "common/scriptedui.h"
#include "core/db.h"
#include "core/forms.h"
#include "core/globals.h"
#include "core/helpers.h"
#include "core/recordhold.h"
#include "masters/fdlmstfmredit.h"
#include "masters/fdlmstprdedit.h"
#include "masters/fdlmstshopedit.h"

#include <QApplication>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QMimeData>
#include <QPointer>
#include <QSqlError>
#include <QSqlQuery>
#include <QTest>
#include <QUrl>
#include <gtest/gtest.h>

using hb::Value;
using hbtest::Backend;
using hbtest::child;
using hbtest::settle;

namespace {

const QString kQuoted = QStringLiteral("山田's \"直売\" #1 100%");

class Masters : public hbtest::BothBackends {
protected:
    void SetUp() override
    {
        BothBackends::SetUp();
        if (IsSkipped())
            return;
        hb::setCompNameSource([] { return QStringLiteral("PC-TEST"); });
        dir.createAndOpen();
        if (GetParam() == Backend::MariaDb)
            dir.useServer(fresh().serverParams().dsn, fresh().serverParams().database);
        hb::gShopID = Value::integer(1);
        hb::gFmrID = Value(1);
    }
    void TearDown() override
    {
        hb::destroyForms();
        settle();
        hbtest::ProgramDir::releaseGlobals();
        hb::setCompNameSource(nullptr);
        hb::gShopID = Value();
        hb::gFmrID = Value();
        BothBackends::TearDown();
    }

    // One value of the master database (Empty when there is no row).
    static Value one(const QString &sql)
    {
        auto rs = hb::gMst->GetFwdOnlyRst(sql);
        return rs->eof() ? Value() : rs->Fields(0);
    }
    static void exec(const QString &sql, const std::vector<Value> &params = {}) { hb::gMst->EXEC(sql, params); }
    // Makes the server or file refuse writes of a table that meet a condition, as a column
    // that refuses a value would.
    void refuseWrites(const QString &table, const QString &when, const QString &event = QStringLiteral("INSERT"))
    {
        QSqlQuery q(hb::gMst->connection());
        const QString sql =
            GetParam() == Backend::Sqlite
                ? QStringLiteral("CREATE TRIGGER refuse_%1 BEFORE %2 ON %1 WHEN %3 BEGIN SELECT RAISE(ABORT, 'refused'); END")
                      .arg(table, event, when)
                : QStringLiteral("CREATE TRIGGER refuse_%1 BEFORE %2 ON %1 FOR EACH ROW BEGIN IF %3 THEN "
                                 "SIGNAL SQLSTATE '45000' SET MESSAGE_TEXT = 'refused'; END IF; END")
                      .arg(table, event, when);
        ASSERT_TRUE(q.exec(sql)) << q.lastError().text().toStdString();
    }

    template <class T>
    T &open()
    {
        T &f = hb::form<T>();
        f.showModeless();
        EXPECT_TRUE(hbtest::activate(&f));
        return f;
    }
    // Replaces a box's text as a person does: click into it, select all, type.
    static void retype(QWidget *box, const QString &text)
    {
        hbtest::focusByClick(box);
        hbtest::pressKey(Qt::Key_A, nullptr, Qt::ControlModifier);
        hbtest::pressKey(Qt::Key_Delete);
        if (!text.isEmpty())
            hbtest::typeText(box, text);
    }
    static QWidget *focused() { return QApplication::focusWidget(); }

    hbtest::ProgramDir dir;
    hbtest::ScopedScriptedUi ui;
};

QStringList labelTexts(QWidget *w, bool visibleOnly)
{
    QStringList out;
    for (QLabel *l : w->findChildren<QLabel *>()) {
        if (!visibleOnly || l->isVisible())
            out << l->text();
    }
    for (QAbstractButton *b : w->findChildren<QAbstractButton *>())
        out << b->text();
    for (QGroupBox *g : w->findChildren<QGroupBox *>())
        out << g->title();
    return out;
}

// A drop of URLs (files or folders) or of text onto a widget.
bool drop(QWidget *target, QMimeData *data)
{
    const QPoint pos = target->rect().center();
    QDragEnterEvent enter(pos, Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &enter);
    if (!enter.isAccepted())
        return false;
    QDropEvent dropEvent(QPointF(pos), Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &dropEvent);
    return dropEvent.isAccepted();
}

QMimeData *files(const QStringList &paths)
{
    auto *m = new QMimeData;
    QList<QUrl> urls;
    for (const QString &p : paths)
        urls << QUrl::fromLocalFile(p);
    m->setUrls(urls);
    return m;
}

// ---- shop --------------------------------------------------------------------------------------

using ShopMaster = Masters;

TEST_P(ShopMaster, WithoutItsRowOpensEmptyInTheEditLookAndRegisterInsertsShopOne)
{
    ASSERT_EQ(one("SELECT COUNT(*) FROM M_SHOP").toInt(), 0);
    auto &f = open<hb::fdlMstShopEdit>();
    EXPECT_EQ(f.Mode(), 2);
    EXPECT_EQ(f.box(0)->text(), "1");
    EXPECT_FALSE(f.box(0)->isEnabled());
    for (int i = 1; i <= 23; ++i) {
        EXPECT_TRUE(f.box(i)->text().isEmpty()) << i;
        EXPECT_EQ(f.box(i)->isEnabled(), i < 17 || i > 21) << i;
    }
    EXPECT_TRUE(f.accountOption(0)->isChecked());
    for (int i = 0; i < 3; ++i)
        EXPECT_FALSE(f.fileTypeOption(i)->isChecked());
    EXPECT_EQ(f.command(0)->text(), "ｷｬﾝｾﾙ");
    EXPECT_TRUE(f.command(1)->isEnabled());
    EXPECT_EQ(focused(), f.box(1));

    hbtest::typeText(f.box(1), kQuoted);
    hbtest::pressKey(Qt::Key_Return);  // moves on, at window level
    EXPECT_EQ(focused(), f.box(2));
    EXPECT_EQ(f.box(1)->text(), kQuoted);
    retype(f.box(6), "8.5");
    retype(f.box(7), "1");
    retype(f.box(8), "2");
    QPointer<hb::fdlMstShopEdit> alive(&f);
    hbtest::click(f.command(1));
    EXPECT_TRUE(ui->prompts.empty());
    EXPECT_FALSE(hb::IsFormLoaded("fdlMstShopEdit"));
    EXPECT_EQ(one("SELECT COUNT(*) FROM M_SHOP").toInt(), 1);
    EXPECT_EQ(one("SELECT SHOP_NM FROM M_SHOP WHERE SHOP_ID=1"), Value(kQuoted));
    EXPECT_EQ(one("SELECT ACC_ID FROM M_SHOP WHERE SHOP_ID=1").toInt(), 1000);
    EXPECT_EQ(one("SELECT FEE_RT FROM M_SHOP WHERE SHOP_ID=1").toDouble(), 8.5);
    EXPECT_EQ(one("SELECT BCD_FMR_ID_LEN FROM M_SHOP WHERE SHOP_ID=1").toInt(), 2);
    EXPECT_EQ(one("SELECT CHK_FLG FROM M_SHOP WHERE SHOP_ID=1").toInt(), -1);
    for (const char *c : {"OWNER_NM", "FTP_SVR", "FTP_DIR", "FTP_USR", "FTP_PWD", "WWW_URL", "PTAG_LOGO",
                          "UPLOAD_FILE_TYPE", "BCD_OPT_LEN"})
        EXPECT_TRUE(one(QStringLiteral("SELECT %1 FROM M_SHOP WHERE SHOP_ID=1").arg(c)).isNull()) << c;
}

TEST_P(ShopMaster, ShowsTheStoredRowAndWritesBackWhatItDoesNotEdit)
{
    const QString longUrl = "https://example.invalid/trace/" + QString(40, 'x');  // beyond the box's 50
    exec("INSERT INTO M_SHOP (SHOP_ID, SHOP_NM, OWNER_NM, FEE_RT, BCD_FMR_ID_STA, BCD_FMR_ID_LEN, FTP_SVR, FTP_PWD, "
         "WWW_URL, PTAG_LOGO, UPLOAD_FILE_TYPE, ACC_ID, CHK_FLG) VALUES (1, ?, 'JA', 12.5, 1, 3, 'ftp.example', "
         "'secret', ?, 'logo.png', 2, 1040, 0)",
         {Value(kQuoted), Value(longUrl)});
    auto &f = open<hb::fdlMstShopEdit>();
    EXPECT_EQ(f.box(1)->text(), kQuoted);
    EXPECT_EQ(f.box(6)->text(), "12.5");
    EXPECT_EQ(f.box(8)->text(), "3");
    EXPECT_EQ(f.box(21)->text(), longUrl);
    EXPECT_EQ(f.box(20)->text(), "secret");
    EXPECT_EQ(f.box(20)->echoMode(), QLineEdit::Password);
    EXPECT_TRUE(f.accountOption(1)->isChecked());
    EXPECT_TRUE(f.fileTypeOption(1)->isChecked());
    EXPECT_FALSE(f.fileTypeOption(1)->isEnabled());

    retype(f.box(2), "");  // emptied boxes store Null
    retype(f.box(7), "");
    hbtest::click(f.command(1));
    ASSERT_FALSE(hb::IsFormLoaded("fdlMstShopEdit"));
    EXPECT_TRUE(one("SELECT OWNER_NM FROM M_SHOP").isNull());
    EXPECT_TRUE(one("SELECT BCD_FMR_ID_STA FROM M_SHOP").isNull());
    EXPECT_EQ(one("SELECT SHOP_NM FROM M_SHOP"), Value(kQuoted));
    EXPECT_EQ(one("SELECT WWW_URL FROM M_SHOP"), Value(longUrl));
    EXPECT_EQ(one("SELECT FTP_SVR FROM M_SHOP"), Value("ftp.example"));
    EXPECT_TRUE(one("SELECT FTP_DIR FROM M_SHOP").isNull());
    EXPECT_EQ(one("SELECT UPLOAD_FILE_TYPE FROM M_SHOP").toInt(), 2);
    EXPECT_EQ(one("SELECT ACC_ID FROM M_SHOP").toInt(), 1040);
    EXPECT_EQ(one("SELECT CHK_FLG FROM M_SHOP").toInt(), 0);  // never written

    // Registering again without a change succeeds too.
    auto &again = open<hb::fdlMstShopEdit>();
    hbtest::click(again.command(1));
    EXPECT_TRUE(ui->prompts.empty());
    EXPECT_FALSE(hb::IsFormLoaded("fdlMstShopEdit"));
}

TEST_P(ShopMaster, AccountAndFileTypeOutsideTheirOptions)
{
    exec("INSERT INTO M_SHOP (SHOP_ID, SHOP_NM, UPLOAD_FILE_TYPE, ACC_ID) VALUES (1, 'A', 7, 2000)");
    auto &f = open<hb::fdlMstShopEdit>();
    EXPECT_TRUE(f.accountOption(0)->isChecked());
    for (int i = 0; i < 3; ++i)
        EXPECT_FALSE(f.fileTypeOption(i)->isChecked());
    hbtest::click(f.accountOption(1));
    hbtest::click(f.command(1));
    EXPECT_EQ(one("SELECT ACC_ID FROM M_SHOP").toInt(), 1040);
    EXPECT_EQ(one("SELECT UPLOAD_FILE_TYPE FROM M_SHOP").toInt(), 7);
}

TEST_P(ShopMaster, NonNumbersAreRefusedWhereNumbersBelong)
{
    auto &f = open<hb::fdlMstShopEdit>();
    struct Case { int box; const char *text; bool refused; };
    const Case cases[] = {
        {6, "abc", true}, {6, "1,5", true}, {6, "-", true}, {6, "7.5", false}, {6, "", false},
        {7, "a", true},   {7, "-", true},   {9, "+", true}, {16, "x1", true}, {16, "12", false}, {12, "", false},
        {1, "abc", false}, {23, "-", false},
    };
    for (const Case &c : cases) {
        ui->prompts.clear();
        retype(f.box(c.box), QString::fromUtf8(c.text));
        hbtest::pressKey(Qt::Key_Tab);
        if (c.refused) {
            ASSERT_EQ(ui->prompts.size(), 1u) << c.box << " " << c.text;
            EXPECT_EQ(ui->prompts[0].text, "数値を指定してください。");
            EXPECT_EQ(ui->prompts[0].style, 48);
            EXPECT_EQ(ui->prompts[0].title, hb::kProgramTitle);
            EXPECT_EQ(focused(), f.box(c.box)) << c.box << " " << c.text;
            retype(f.box(c.box), "");
            hbtest::pressKey(Qt::Key_Tab);
        } else {
            EXPECT_TRUE(ui->prompts.empty()) << c.box << " " << c.text;
            EXPECT_NE(focused(), f.box(c.box)) << c.box << " " << c.text;
        }
    }

    // The key box, open only in the selection look.
    f.setMode(0);
    retype(f.box(0), "x");
    ui->prompts.clear();
    hbtest::pressKey(Qt::Key_Tab);
    ASSERT_EQ(ui->prompts.size(), 1u);
    EXPECT_EQ(ui->prompts[0].text, "数値を指定してください。");
    EXPECT_EQ(focused(), f.box(0));
}

TEST_P(ShopMaster, ARefusalDoesNotReloadTheRowOrLoseOtherEdits)
{
    exec("INSERT INTO M_SHOP (SHOP_ID, SHOP_NM, ADRS) VALUES (1, '旧店名', '旧住所')");
    auto &f = open<hb::fdlMstShopEdit>();
    retype(f.box(1), "新店名");
    retype(f.box(3), "新住所");
    retype(f.box(6), "abc");
    hbtest::click(f.command(1));  // refused when the box is left: no save
    ASSERT_EQ(ui->prompts.size(), 1u);
    EXPECT_EQ(f.box(1)->text(), "新店名");
    EXPECT_EQ(f.box(3)->text(), "新住所");
    EXPECT_EQ(f.box(6)->text(), "abc");
    EXPECT_EQ(one("SELECT SHOP_NM FROM M_SHOP"), Value("旧店名"));
    retype(f.box(6), "10");
    hbtest::click(f.command(1));
    EXPECT_EQ(one("SELECT SHOP_NM FROM M_SHOP"), Value("新店名"));
    EXPECT_EQ(one("SELECT ADRS FROM M_SHOP"), Value("新住所"));
    EXPECT_EQ(one("SELECT FEE_RT FROM M_SHOP").toDouble(), 10.0);
}

TEST_P(ShopMaster, AFailedSaveKeepsTheRowAndTheWindowWithItsInput)
{
    exec("INSERT INTO M_SHOP (SHOP_ID, SHOP_NM) VALUES (1, '旧店名')");
    refuseWrites("M_SHOP", "1=1", "UPDATE");
    auto &f = open<hb::fdlMstShopEdit>();
    retype(f.box(1), "新店名");
    hbtest::click(f.command(1));
    ASSERT_EQ(ui->promptTexts(), QStringList({"データの登録に失敗しました。"}));
    EXPECT_EQ(ui->prompts[0].style, 48);
    EXPECT_TRUE(hb::IsFormLoaded("fdlMstShopEdit"));
    EXPECT_EQ(f.box(1)->text(), "新店名");
    EXPECT_FALSE(hb::gMst->inTransaction());
    EXPECT_EQ(one("SELECT SHOP_NM FROM M_SHOP"), Value("旧店名"));
}

TEST_P(ShopMaster, TheLogoBoxTakesTheBareNameOfTheFirstDroppedFile)
{
    QFile(dir.path("images/logo.png")).open(QIODevice::WriteOnly);
    QFile(dir.path("images/second.png")).open(QIODevice::WriteOnly);
    auto &f = open<hb::fdlMstShopEdit>();
    QLineEdit *logo = f.box(22);
    struct Case { QStringList paths; const char *expected; };
    const Case cases[] = {
        {{dir.path("images/logo.png"), dir.path("images/second.png")}, "logo.png"},
        {{dir.path("images")}, ""},             // a folder
        {{dir.path("images/second.png")}, "second.png"},
        {{dir.path("images/missing.png")}, ""},  // no such file
    };
    for (const Case &c : cases) {
        std::unique_ptr<QMimeData> data(files(c.paths));
        EXPECT_TRUE(drop(logo, data.get()));
        EXPECT_EQ(logo->text(), QString::fromUtf8(c.expected)) << c.paths.join(",").toStdString();
    }
    logo->setText("kept.png");
    QMimeData text;
    text.setText("dragged text");
    EXPECT_FALSE(drop(logo, &text));
    EXPECT_EQ(logo->text(), "kept.png");

    hbtest::click(f.command(2));
    EXPECT_EQ(ui->openedFolders, QStringList({QDir::cleanPath(dir.path("images")) + "/"}));
    hbtest::click(f.command(1));
    EXPECT_EQ(one("SELECT PTAG_LOGO FROM M_SHOP"), Value("kept.png"));
}

TEST_P(ShopMaster, CloseEndsTheProgramUnlessTheMainMenuIsLoaded)
{
    hb::Form menu(QStringLiteral("fmnMain"));
    menu.showModeless();
    settle();
    auto &f = open<hb::fdlMstShopEdit>();
    hbtest::click(f.command(0));
    EXPECT_FALSE(hb::IsFormLoaded("fdlMstShopEdit"));
    EXPECT_TRUE(ui->endCodes.empty());
    menu.Unload();

    auto &g = open<hb::fdlMstShopEdit>();
    EXPECT_THROW(hbtest::click(g.command(0)), hb::ProgramEnded);
    EXPECT_EQ(ui->endCodes, std::vector<int>{0});
    EXPECT_EQ(hb::gMst, nullptr);
}

// ---- grower ------------------------------------------------------------------------------------

// Gives the tests the check that a hidden box runs when it is left.
class GrowerDialog : public hb::fdlMstFmrEdit {
public:
    using hb::fdlMstFmrEdit::validate;
};

using GrowerMaster = Masters;

TEST_P(GrowerMaster, FirstStartCreatesTheDefaultGrowerListedByTheGrowerSelector)
{
    ASSERT_EQ(one("SELECT COUNT(*) FROM M_FMR").toInt(), 0);
    hb::gFmrID = hb::gINI->GetCtrl("DEF_FMR_ID");
    QString shownKey;
    hbtest::onModal(ui.get(), "fdlMstFmrEdit", [&](QDialog *d) {
        auto &f = static_cast<hb::fdlMstFmrEdit &>(*d);
        shownKey = f.box(0)->text();
        EXPECT_EQ(focused(), f.box(1));
        hbtest::typeText(f.box(1), kQuoted);
        retype(f.box(6), "緑丘町");
        hbtest::click(f.command(1));
    });
    hb::form<hb::fdlMstFmrEdit>().showModal();  // no owner, as the start-up check shows it
    EXPECT_EQ(shownKey, "1");
    EXPECT_FALSE(hb::IsFormLoaded("fdlMstFmrEdit"));
    EXPECT_EQ(hb::gMst->DCount("*", "M_FMR", "FMR_ID=1").toInt(), 1);
    EXPECT_TRUE(one("SELECT FEE_1 FROM M_FMR").isNull());
    EXPECT_TRUE(one("SELECT FEE_2 FROM M_FMR").isNull());
    EXPECT_EQ(one("SELECT LOCATE FROM M_FMR"), Value("緑丘町"));
    // The main menu's grower selector offers it.
    auto rs = hb::gMst->GetFwdOnlyRst("SELECT  M_FMR.FMR_ID,  M_FMR.FMR_NM  FROM M_FMR  WHERE CHK_FLG<>0 ORDER BY FMR_ID");
    ASSERT_FALSE(rs->eof());
    EXPECT_EQ(rs->Fields(0).toInt(), 1);
    EXPECT_EQ(rs->Fields(1), Value(kQuoted));
}

TEST_P(GrowerMaster, CancelAtTheFirstStartEndsTheProgram)
{
    hbtest::onModal(ui.get(), "fdlMstFmrEdit", [](QDialog *d) {
        hbtest::click(static_cast<hb::fdlMstFmrEdit *>(d)->command(0));
    });
    EXPECT_THROW(hb::form<hb::fdlMstFmrEdit>().showModal(), hb::ProgramEnded);
    EXPECT_EQ(ui->endCodes, std::vector<int>{0});
}

TEST_P(GrowerMaster, EditsTheCurrentGrowerAndKeepsTheHiddenFees)
{
    exec("INSERT INTO M_FMR (FMR_ID, FMR_NM, ADRS, FEE_1, FEE_2) VALUES (3, ?, '旧住所', 330, 550)", {Value(kQuoted)});
    exec("INSERT INTO M_FMR (FMR_ID, FMR_NM) VALUES (4, '他')");
    hb::gFmrID = Value(3);
    auto &f = open<hb::fdlMstFmrEdit>();
    EXPECT_EQ(f.box(1)->text(), kQuoted);
    EXPECT_FALSE(f.box(0)->isEnabled());
    EXPECT_FALSE(f.box(12)->isVisible());
    EXPECT_FALSE(f.box(13)->isVisible());
    retype(f.box(2), "新住所");
    retype(f.box(3), "");
    hbtest::click(f.command(1));
    EXPECT_FALSE(hb::IsFormLoaded("fdlMstFmrEdit"));
    EXPECT_EQ(one("SELECT FMR_NM FROM M_FMR WHERE FMR_ID=3"), Value(kQuoted));
    EXPECT_EQ(one("SELECT ADRS FROM M_FMR WHERE FMR_ID=3"), Value("新住所"));
    EXPECT_TRUE(one("SELECT TEL_NO_L FROM M_FMR WHERE FMR_ID=3").isNull());
    EXPECT_EQ(one("SELECT FEE_1 FROM M_FMR WHERE FMR_ID=3").toDouble(), 330.0);
    EXPECT_EQ(one("SELECT FEE_2 FROM M_FMR WHERE FMR_ID=3").toDouble(), 550.0);
    EXPECT_EQ(one("SELECT FMR_NM FROM M_FMR WHERE FMR_ID=4"), Value("他"));
}

TEST_P(GrowerMaster, TheSelectionLookRefusesANonNumericKeyAndEnterOpensARow)
{
    exec("INSERT INTO M_FMR (FMR_ID, FMR_NM) VALUES (2, '二番')");
    auto &f = open<hb::fdlMstFmrEdit>();
    f.setMode(0);
    EXPECT_EQ(f.command(0)->text(), "閉じる");
    EXPECT_FALSE(f.command(1)->isEnabled());
    EXPECT_TRUE(f.box(1)->text().isEmpty());
    retype(f.box(0), "abc");
    hbtest::pressKey(Qt::Key_Tab);
    ASSERT_EQ(ui->prompts.size(), 1u);
    EXPECT_EQ(ui->prompts[0].text, "数値を入力してください。");
    EXPECT_EQ(ui->prompts[0].title, "HarvestBook");
    EXPECT_EQ(ui->prompts[0].style, 48);
    EXPECT_EQ(focused(), f.box(0));

    retype(f.box(0), "2");
    hbtest::pressKey(Qt::Key_Return);
    EXPECT_EQ(f.Mode(), 2);
    EXPECT_EQ(f.box(1)->text(), "二番");
    EXPECT_EQ(focused(), f.command(0));
    EXPECT_EQ(ui->prompts.size(), 1u);
}

TEST_P(GrowerMaster, TheHiddenFeeBoxesCheckForNumbers)
{
    GrowerDialog f;
    f.showModeless();
    ASSERT_TRUE(hbtest::activate(&f));
    struct Case { int box; const char *text; bool accepted; };
    const Case cases[] = {{12, "abc", false}, {12, "300", true}, {13, "", true}, {13, "1-", false}, {2, "abc", true}};
    for (const Case &c : cases) {
        ui->prompts.clear();
        f.box(c.box)->setText(QString::fromUtf8(c.text));
        EXPECT_EQ(f.validate(f.box(c.box)), c.accepted) << c.box << " " << c.text;
        EXPECT_EQ(ui->promptTexts(), c.accepted ? QStringList() : QStringList({"数値を入力してください。"}));
    }
    f.Unload();
}

// ---- product -----------------------------------------------------------------------------------

using ProductMaster = Masters;

void insertProduct(long id, const Value &name, const Value &flag = Value(-1))
{
    hb::gMst->EXEC("INSERT INTO M_PRD (SHOP_ID, PRD_ID, PRD_NM, PRD_OMT, I_MTLS, I_WEIGHT, CHK_FLG, IDATE, LAST_TM, "
                   "HOLD_TM) VALUES (1, ?, ?, '略', '原材料', 1.5, ?, ?, 'OTHER', 'OTHER')",
                   {Value(id), name, flag, Value(QDateTime(QDate(2020, 1, 2), QTime(3, 4, 5)))});
}

// A click on an entry of a list, through its window as the mouse does.
void clickItem(QListWidget *list, int row)
{
    const QPoint pos = list->viewport()->mapTo(list->window(), list->visualItemRect(list->item(row)).center());
    QTest::mouseClick(list->window()->windowHandle(), Qt::LeftButton, Qt::NoModifier, pos);
    settle();
}

QStringList listed(const hb::fdlMstPrdEdit &f)
{
    QStringList out;
    for (int i = 0; i < f.List1->count(); ++i)
        out << f.List1->item(i)->text();
    return out;
}

TEST_P(ProductMaster, AnEmptyTableShowsThePlaceholderAndAddFillsIt)
{
    auto &f = open<hb::fdlMstPrdEdit>();
    EXPECT_EQ(listed(f), QStringList({""}));
    EXPECT_EQ(f.List1->currentRow(), 0);
    for (QLineEdit *b : f.txtDATA)
        EXPECT_TRUE(b->text().isEmpty());
    EXPECT_FALSE(f.Check1->isChecked());

    hbtest::click(f.cmdSUB[1]);
    ASSERT_EQ(f.products().size(), 1u);
    EXPECT_EQ(f.products()[0].PRD_ID, Value(1));
    EXPECT_EQ(f.products()[0].SHOP_ID, Value(1));
    EXPECT_TRUE(f.products()[0].CHK_FLG.toBool());
    EXPECT_EQ(f.txtDATA[0]->text(), "1");
    EXPECT_TRUE(f.Check1->isChecked());
    EXPECT_EQ(focused(), f.txtDATA[0]);

    // Removing the only product leaves the placeholder; Register then empties the table and
    // the window stays open without a message. (The product is there when the window loads:
    // a save never deletes a row its window did not load.)
    f.Unload();
    hbtest::settle();
    insertProduct(9, Value("消える"));
    auto &g = open<hb::fdlMstPrdEdit>();
    ASSERT_EQ(listed(g).size(), 1);
    hbtest::click(g.cmdSUB[0]);
    ASSERT_EQ(g.products().size(), 1u);
    EXPECT_TRUE(g.products()[0].PRD_ID.isEmpty());
    EXPECT_EQ(listed(g), QStringList({""}));
    hbtest::click(g.cmdMENU[1]);
    EXPECT_TRUE(ui->prompts.empty());
    EXPECT_TRUE(hb::IsFormLoaded("fdlMstPrdEdit"));
    EXPECT_EQ(one("SELECT COUNT(*) FROM M_PRD").toInt(), 0);
}

TEST_P(ProductMaster, TypingIntoThePlaceholderMakesAProductOfTheShopInUse)
{
    // The "有効" box may be clicked before anything is typed: the product still belongs to the
    // shop in use, and keeps the flag as the box shows it.
    struct Case { int flagClicks; int storedFlag; };
    const Case cases[] = {{0, -1}, {1, -1}, {2, 0}};
    for (const Case &c : cases) {
        exec("DELETE FROM M_PRD");
        auto &f = open<hb::fdlMstPrdEdit>();
        for (int i = 0; i < c.flagClicks; ++i)
            hbtest::click(f.Check1);
        retype(f.txtDATA[0], "7");
        retype(f.txtDATA[1], "トマト");
        hbtest::pressKey(Qt::Key_Tab);
        EXPECT_EQ(listed(f), QStringList({"トマト"}));
        EXPECT_EQ(f.Check1->isChecked(), c.storedFlag != 0) << c.flagClicks;
        hbtest::click(f.cmdMENU[1]);
        EXPECT_FALSE(hb::IsFormLoaded("fdlMstPrdEdit"));
        settle();
        EXPECT_EQ(one("SELECT SHOP_ID FROM M_PRD WHERE PRD_ID=7"), Value(1)) << c.flagClicks;
        EXPECT_EQ(one("SELECT CHK_FLG FROM M_PRD WHERE PRD_ID=7").toInt(), c.storedFlag) << c.flagClicks;
    }
}

TEST_P(ProductMaster, TheIdMustBeAWholePositiveNumberThatNoOtherProductHas)
{
    insertProduct(1, Value("A"));
    insertProduct(2, Value("B"));
    auto &f = open<hb::fdlMstPrdEdit>();
    ASSERT_EQ(f.currentIndex(), 0);
    struct Case { const char *typed; const char *message; long stored; };
    const Case cases[] = {
        {"12.5", nullptr, 12}, {"13.5", nullptr, 14}, {"1,000", "数値を入力してください。", 0},
        {"0", "数値を入力してください。", 0}, {"-3", "数値を入力してください。", 0},
        {"abc", "数値を入力してください。", 0}, {"", "数値を入力してください。", 0},
        {"0.4", "数値を入力してください。", 0}, {"2", "商品IDが重複しています。", 0}, {"1", nullptr, 1},
    };
    for (const Case &c : cases) {
        ui->prompts.clear();
        retype(f.txtDATA[0], QString::fromUtf8(c.typed));
        hbtest::pressKey(Qt::Key_Tab);
        if (c.message) {
            ASSERT_EQ(ui->prompts.size(), 1u) << c.typed;
            EXPECT_EQ(ui->prompts[0].text, QString::fromUtf8(c.message));
            EXPECT_EQ(ui->prompts[0].title, hb::kProgramTitle);
            EXPECT_EQ(ui->prompts[0].style, 48);
            EXPECT_EQ(focused(), f.txtDATA[0]) << c.typed;
            EXPECT_EQ(f.txtDATA[0]->text(), QString::fromUtf8(c.typed));
        } else {
            EXPECT_TRUE(ui->prompts.empty()) << c.typed;
            EXPECT_EQ(f.products()[0].PRD_ID, Value(c.stored)) << c.typed;
            EXPECT_EQ(f.txtDATA[0]->text(), QString::number(c.stored));
        }
    }
    EXPECT_EQ(f.products()[0].PRD_ID, Value(1));
}

TEST_P(ProductMaster, ResizingKeepsTextNotYetStored)
{
    insertProduct(1, Value("A"));
    auto &f = hb::form<hb::fdlMstPrdEdit>();
    f.setSizable(true);  // so that the test can enlarge it
    f.showModeless();
    ASSERT_TRUE(hbtest::activate(&f));
    retype(f.txtDATA[1], "入力中");
    hbtest::resizeOuter(&f, QSize(800, 600));
    EXPECT_EQ(f.txtDATA[1]->text(), "入力中");
    EXPECT_EQ(focused(), f.txtDATA[1]);
    EXPECT_GT(f.txtDATA[1]->width(), 230);
    EXPECT_EQ(f.products()[0].PRD_NM, Value("A"));
}

TEST_P(ProductMaster, RegisterRewritesTheTableWithTheAuditColumns)
{
    insertProduct(1, Value(kQuoted));
    insertProduct(2, Value("ナス"));
    auto &f = open<hb::fdlMstPrdEdit>();
    EXPECT_EQ(listed(f), QStringList({kQuoted, "ナス"}));
    // Product 2 made invalid.
    clickItem(f.List1, 1);
    ASSERT_EQ(f.txtDATA[1]->text(), "ナス");
    ASSERT_TRUE(f.Check1->isChecked());
    hbtest::click(f.Check1);
    EXPECT_FALSE(f.Check1->isChecked());
    // A new product.
    hbtest::click(f.cmdSUB[1]);
    EXPECT_EQ(f.txtDATA[0]->text(), "3");
    retype(f.txtDATA[1], "ピーマン");
    hbtest::pressKey(Qt::Key_Tab);
    EXPECT_EQ(listed(f), QStringList({kQuoted, "ナス", "ピーマン"}));

    const QDateTime before = QDateTime::currentDateTime().addSecs(-2);
    hbtest::click(f.cmdMENU[1]);
    const QDateTime after = QDateTime::currentDateTime().addSecs(2);
    EXPECT_TRUE(ui->prompts.empty());
    EXPECT_FALSE(hb::IsFormLoaded("fdlMstPrdEdit"));
    auto rs = hb::gMst->GetFwdOnlyRst("SELECT * FROM M_PRD ORDER BY PRD_ID");
    std::vector<hb::PrdRec> rows;
    hb::PrdRec::loadArray(*rs, rows);
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0].PRD_NM, Value(kQuoted));
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(rows[i].IDATE.toDate(), QDateTime(QDate(2020, 1, 2), QTime(3, 4, 5))) << i;
        EXPECT_TRUE(rows[i].UDATE.toDate() >= before && rows[i].UDATE.toDate() <= after) << i;
        EXPECT_EQ(rows[i].PRD_OMT, Value("略"));
        EXPECT_EQ(rows[i].I_MTLS, Value("原材料"));
        EXPECT_EQ(rows[i].I_WEIGHT.toDouble(), 1.5);
    }
    EXPECT_EQ(rows[0].CHK_FLG.toInt(), -1);
    EXPECT_EQ(rows[1].CHK_FLG.toInt(), 0);
    EXPECT_EQ(rows[2].PRD_NM, Value("ピーマン"));
    EXPECT_EQ(rows[2].SHOP_ID.toInt(), 1);
    EXPECT_EQ(rows[2].CHK_FLG.toInt(), -1);
    EXPECT_TRUE(rows[2].IDATE.toDate() >= before && rows[2].IDATE.toDate() <= after);
    EXPECT_TRUE(rows[2].UDATE.isNull());
    for (const hb::PrdRec &r : rows) {
        EXPECT_EQ(r.LAST_TM, Value("PC-TEST"));
        EXPECT_TRUE(r.HOLD_TM.isNull());
    }
}

TEST_P(ProductMaster, AFailedRegisterLeavesTheTableAsItWas)
{
    insertProduct(1, Value("A"));
    insertProduct(2, Value("B"));
    insertProduct(3, Value("C"));
    refuseWrites("M_PRD", "NEW.PRD_ID = 3");
    auto &f = open<hb::fdlMstPrdEdit>();
    retype(f.txtDATA[1], "A2");
    hbtest::click(f.cmdMENU[1]);
    ASSERT_EQ(ui->prompts.size(), 1u);
    EXPECT_EQ(ui->prompts[0].title, hb::kProgramTitle);
    EXPECT_TRUE(hb::IsFormLoaded("fdlMstPrdEdit"));
    EXPECT_FALSE(hb::gMst->inTransaction());
    EXPECT_EQ(one("SELECT COUNT(*) FROM M_PRD").toInt(), 3);
    EXPECT_EQ(one("SELECT PRD_NM FROM M_PRD WHERE PRD_ID=1"), Value("A"));
    EXPECT_EQ(one("SELECT LAST_TM FROM M_PRD WHERE PRD_ID=1"), Value("OTHER"));
    EXPECT_EQ(f.products()[0].PRD_NM, Value("A2"));
    EXPECT_EQ(f.products().size(), 3u);
}

// Each statement of the table's rewrite failing in turn: reported as a failed save, the table, the
// products in the window and its boxes as they were; the rewrite after the last one goes through.
TEST_P(ProductMaster, EachFailingStatementOfRegisterLeavesTheTableAndTheWindowAsTheyWere)
{
    insertProduct(1, Value("A"));
    insertProduct(2, Value("B"));
    insertProduct(3, Value("C"));
    auto &f = open<hb::fdlMstPrdEdit>();
    retype(f.txtDATA[1], "A2");
    const QStringList rows = hbtest::dumpRows(*hb::gMst, "M_PRD", "PRD_ID");
    const long statements = hbtest::failEachClick(*hb::gMst, ui.get(), f.cmdMENU[1], [&](long k, const QString &) {
            EXPECT_TRUE(hb::IsFormLoaded("fdlMstPrdEdit")) << k;
            EXPECT_FALSE(hb::gMst->inTransaction()) << k;
            EXPECT_EQ(hbtest::dumpRows(*hb::gMst, "M_PRD", "PRD_ID"), rows) << k;
            EXPECT_EQ(f.products().size(), 3u) << k;
            EXPECT_EQ(f.products()[0].PRD_NM, Value("A2")) << k;
            EXPECT_EQ(f.txtDATA[1]->text(), QStringLiteral("A2")) << k;
        });
    EXPECT_EQ(statements, 8) << "BEGIN, the stored rows compared, the delete, three inserts, the rows read back, COMMIT";
    EXPECT_FALSE(hb::IsFormLoaded("fdlMstPrdEdit"));
    EXPECT_EQ(one("SELECT PRD_NM FROM M_PRD WHERE PRD_ID=1"), Value("A2"));
}

TEST_P(ProductMaster, TheFilterComparesExactlyAndListsNamelessRows)
{
    insertProduct(1, Value("トマト"));
    insertProduct(2, Value("tomato"));
    insertProduct(3, Value::null());
    insertProduct(4, Value("ﾄﾏﾄ"));
    auto &f = open<hb::fdlMstPrdEdit>();
    struct Case { const char *filter; QStringList shown; };
    const Case cases[] = {
        {"トマ", {"トマト", ""}}, {"TOMATO", {""}}, {"tom", {"tomato", ""}}, {"", {"トマト", "tomato", "", "ﾄﾏﾄ"}},
    };
    for (const Case &c : cases) {
        retype(f.txtCOND, QString::fromUtf8(c.filter));
        hbtest::pressKey(Qt::Key_Return);  // moves on, which applies the filter
        EXPECT_EQ(listed(f), c.shown) << c.filter;
    }
    // A product added and not yet named is hidden by a filter.
    hbtest::click(f.cmdSUB[1]);
    retype(f.txtCOND, "ト");
    hbtest::pressKey(Qt::Key_Tab);
    EXPECT_EQ(listed(f), QStringList({"トマト", ""}));
}

TEST_P(ProductMaster, EnteringTheListSelectsNothingUntilAnEntryIsChosen)
{
    insertProduct(1, Value("トマト"));
    insertProduct(2, Value("ナス"));
    insertProduct(3, Value("ナンバン"));
    auto &f = open<hb::fdlMstPrdEdit>();
    ASSERT_EQ(f.txtDATA[1]->text(), "トマト");
    // The filter hides the current product; Enter moves on into the list, which shows the
    // others with none selected, while the boxes keep showing the current product.
    retype(f.txtCOND, "ナ");
    hbtest::pressKey(Qt::Key_Return);
    ASSERT_EQ(focused(), f.List1);
    EXPECT_EQ(listed(f), QStringList({"ナス", "ナンバン"}));
    EXPECT_TRUE(f.List1->selectedItems().isEmpty());
    EXPECT_EQ(f.currentIndex(), 0);
    EXPECT_EQ(f.txtDATA[0]->text(), "1");
    EXPECT_EQ(f.txtDATA[1]->text(), "トマト");
    // Choosing an entry, by key or by mouse, makes its product current.
    hbtest::pressKey(Qt::Key_Down);
    EXPECT_EQ(f.txtDATA[1]->text(), "ナス");
    hbtest::pressKey(Qt::Key_Down);
    EXPECT_EQ(f.txtDATA[1]->text(), "ナンバン");
    EXPECT_EQ(f.currentIndex(), 2);
    clickItem(f.List1, 0);
    EXPECT_EQ(f.txtDATA[1]->text(), "ナス");
    EXPECT_EQ(f.currentIndex(), 1);
}

// ---- pictures ----------------------------------------------------------------------------------

using MasterPictures = Masters;

TEST_P(MasterPictures, EveryCaptionAndLabelIsShown)
{
    if (GetParam() != Backend::Sqlite)
        GTEST_SKIP() << "the pictures do not depend on the database";
    exec("INSERT INTO M_SHOP (SHOP_ID, SHOP_NM, OWNER_NM, ADRS, TEL, FEE_RT, BCD_FMR_ID_STA, BCD_FMR_ID_LEN, "
         "FTP_SVR, FTP_PWD, WWW_URL, PTAG_LOGO, UPLOAD_FILE_TYPE, ACC_ID) VALUES (1, '道の駅みどりの丘', "
         "'緑丘農業協同組合', '緑丘町1-2-3', '0123-45-6789', 15, 1, 4, 'ftp.example.jp', 'secret', "
         "'https://example.jp/trace', 'logo.png', 1, 1000)");
    exec("INSERT INTO M_FMR (FMR_ID, FMR_NM, ADRS, TEL_NO_L, LOCATE) VALUES (1, '山田 太郎', '緑丘町4-5', "
         "'0123-11-2222', '緑丘町')");
    insertProduct(1, Value("トマト"));
    insertProduct(2, Value("ナス"));
    const struct {
        const char *file;
        QStringList texts;
        std::function<hb::Form &()> show;
    } dialogs[] = {
        {"hb_masters_shop.png",
         {"販売店編集", "販売店ｺｰﾄﾞ", "店舗名", "母体名", "住所", "電話番号", "FAX番号", "手数料率", "%",
          "バーコード情報", "先頭", "長さ", "生産者ID", "商品ID", "金額（ 1円)", "金額（10円)", "その他", "ｱｯﾌﾟﾛｰﾄﾞ情報",
          "ファイル形式", "HTML", "PHP", "CGI", "ｻｰﾊﾞｰ", "ｻｰﾊﾞｰﾃﾞｨﾚｸﾄﾘ", "FTPﾕｰｻﾞｰ", "PWD", "WEBｻｰﾊﾞｰ", "値札ロゴ",
          "備考", "現金", "売掛", "登録", "ｷｬﾝｾﾙ", "参照..."},
         [this]() -> hb::Form & { return open<hb::fdlMstShopEdit>(); }},
        {"hb_masters_grower.png",
         {"生産者情報編集", "生産者ｺｰﾄﾞ", "生産者名", "住所", "電話番号", "ﾗﾍﾞﾙ電話番号", "備考", "生産地", "金融機関名",
          "支店名", "口座種別", "口座番号", "口座名義", "登録", "ｷｬﾝｾﾙ"},
         [this]() -> hb::Form & { return open<hb::fdlMstFmrEdit>(); }},
        {"hb_masters_product.png",
         {"商品マスタ編集", "商品名", "商品ID", "略名", "ヨミ", "有効", "追加", "削除", "登録", "閉じる"},
         [this]() -> hb::Form & { return open<hb::fdlMstPrdEdit>(); }},
    };
    for (const auto &d : dialogs) {
        hb::Form &f = d.show();
        const QStringList shown = labelTexts(&f, true);
        for (const QString &t : d.texts)
            EXPECT_TRUE(shown.contains(t)) << d.file << ": " << t.toStdString();
        const QString path = QDir::tempPath() + "/" + d.file;
        ASSERT_TRUE(hbtest::savePicture(&f, path));
        EXPECT_FALSE(QImage(path).isNull());
        f.Unload();
        settle();
    }
    // The grower's transfer fees are never shown.
    auto &g = open<hb::fdlMstFmrEdit>();
    const QStringList hidden = labelTexts(&g, true);
    for (const char *t : {"振込手数料", "３万円未満", "３万円以上"}) {
        EXPECT_FALSE(hidden.contains(QString::fromUtf8(t))) << t;
        EXPECT_TRUE(labelTexts(&g, false).contains(QString::fromUtf8(t))) << t;
    }
}

HB_INSTANTIATE_BOTH_BACKENDS(ShopMaster);
HB_INSTANTIATE_BOTH_BACKENDS(GrowerMaster);
HB_INSTANTIATE_BOTH_BACKENDS(ProductMaster);
HB_INSTANTIATE_BOTH_BACKENDS(MasterPictures);

}  // namespace
