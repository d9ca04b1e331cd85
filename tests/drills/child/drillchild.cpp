// The drills' child program: opens the program's databases as a start does (its own
// connections), then sets a save's fixture up or runs the save.
//
//   hb_drill_child FOLDER SAVE setup        writes the save's fixture rows
//   hb_drill_child FOLDER SAVE run          runs the save; prints "DONE n message" (n statements
//                                           run, message "" when it saved)
//   hb_drill_child FOLDER - export PATH     writes a price-tag CSV to PATH; prints "DONE 0 message"
//
// FOLDER is the program's folder (ini/ and work/ beside it). With HB_DRILL_KILL_AT=k the run
// prints "STOP k" after its k-th statement and waits to be killed. With HB_DRILL_FULL=1 the data
// file may not grow (for machines where no small file system can be mounted).

#include "../drillsaves.h"
#include "bookkeeping/frmledgeinput.h"
#include "bookkeeping/frmledgelist.h"
#include "bookkeeping/ledger.h"
#include "common/harness.h"
#include "common/scriptedui.h"
#include "core/db.h"
#include "core/forms.h"
#include "core/globals.h"
#include "core/recordhold.h"
#include "cultivation/chemirec.h"
#include "cultivation/plantrec.h"
#include "diary/diaryday.h"
#include "diary/diarysave.h"
#include "masters/fdlmstprdedit.h"
#include "printing/expptag.h"
#include "shipments/shiprec.h"
#include "shipments/shipsave.h"

#include <QApplication>
#include <QDate>
#include <QtTest/QTest>
#include <cstdio>
#include <functional>
#include <unistd.h>

using hb::Value;

namespace {

const QDate kDay(2014, 10, 24);

void exec(hb::DbObject &db, const char *sql, const std::vector<Value> &params = {})
{
    db.EXEC(QString::fromUtf8(sql), params);
}

// What a save reports: "" when it saved, else the message the grower sees.
using Arm = std::function<void()>;
struct Save {
    const char *name;
    std::function<void()> setup;
    std::function<QString(const Arm &)> run;
};

// The day of the drills as the diary-day window holds it after opening it.
hb::DiarySave openedDay()
{
    return hb::DiarySave::asLoaded(hb::LoadDiaryDay(1, kDay.startOfDay()));
}

QString lastPrompt(hbtest::ScriptedUi &ui)
{
    return ui.prompts.empty() ? QString() : ui.prompts.back().text;
}

std::vector<Save> saves(hbtest::ScriptedUi &ui)
{
    return {
        {"diary",
         [] {
             exec(*hb::gDb, "INSERT INTO D_PLANT (FMR_ID, PLANT_ID, PLANT_NM, START_DATE) VALUES (1, 3, 'トマト', ?)",
                  {Value(QDate(2014, 4, 1))});
             exec(*hb::gDb, "INSERT INTO D_CHEMI (FMR_ID, CHEMI_ID, CHEMI_NM, PUR_DATE, PUR_QTY, PUR_UNIT, PUR_AMT, "
                            "USED_QTY, REST_QTY, LEDGE_ID, CHK_FLG) VALUES (1, 7, '薬剤7', ?, 500, 1, 2000, 0, 500, 0, -1)",
                  {Value(QDate(2014, 4, 5))});
             exec(*hb::gDb, "INSERT INTO D_DIARY (FMR_ID, WORK_DATE, WTH_ID, ONE_MSG, IDATE, LAST_TM) "
                            "VALUES (1, ?, 2, '晴れ', #2014-01-02 03:04:05#, 'OLD-PC')",
                  {Value(kDay)});
             for (int n = 1; n <= 3; ++n)
                 exec(*hb::gDb, "INSERT INTO D_DIARY_DTL (FMR_ID, WORK_DATE, DTL_NO, PLANT_ID, WORK_KBN, WORK_NM, LEDGE_ID) "
                                "VALUES (1, ?, ?, 3, 1, ?, 0)",
                      {Value(kDay), Value(n), Value(QStringLiteral("作業%1").arg(n))});
             exec(*hb::gDb, "INSERT INTO D_LEDGE (FMR_ID, LEDGE_ID, LEDGE_DATE, D_ACC_ID, C_ACC_ID, AMT, CTR_NM, LAST_TM) "
                            "VALUES (1, 4, ?, 1000, 4000, 3000, '道の駅', 'OLD-PC')",
                  {Value(kDay)});
         },
         [](const Arm &arm) {
             hb::DiarySave s = openedDay();
             s.day.ONE_MSG = Value("曇りのち雨");
             s.lines.erase(s.lines.begin());  // the first line goes
             hb::DiaryDtlRec l;
             l.FMR_ID = Value(1);
             l.WORK_DATE = Value(kDay.startOfDay());
             l.DTL_NO = Value(9);
             l.PLANT_ID = Value(3);
             l.WORK_KBN = Value(5);
             l.WORK_NM = Value("防除");
             l.CHEMI_ID = Value(7);
             l.QTY = Value(2.5);
             l.UNIT_ID = Value(1);
             l.LEDGE_ID = Value(0);
             s.lines.push_back(l);
             s.ledge[0].AMT = Value(hb::Currency::fromDouble(3500));
             arm();
             try {
                 hb::SaveDiaryDay(*hb::gDb, s);
             } catch (const hb::HbError &e) {
                 return e.description();
             }
             return QString();
         }},
        // A day not written before: opening it holds no row, so its save is the first write.
        {"newday",
         [] {
             exec(*hb::gDb, "INSERT INTO D_PLANT (FMR_ID, PLANT_ID, PLANT_NM, START_DATE) VALUES (1, 3, 'トマト', ?)",
                  {Value(QDate(2014, 4, 1))});
         },
         [](const Arm &arm) {
             try {
                 hb::DiarySave s = openedDay();
                 s.day.ONE_MSG = Value("晴れ");
                 s.day.NOTES1 = Value(QString(1000, QChar(0x3042)));  // more than a page of the file
                 s.day.NOTES2 = Value(QString(1000, QChar(0x3044)));
                 hb::AddLine(s.lines, s.day, Value(3));
                 arm();
                 hb::SaveDiaryDay(*hb::gDb, s);
             } catch (const hb::HbError &e) {
                 return e.description();
             }
             return QString();
         }},
        {"shipment",
         [] {
             exec(*hb::gMst, "INSERT INTO M_FMR (FMR_ID, FMR_NM, LOCATE, CHK_FLG) VALUES (1, '緑丘 太郎', '緑丘', -1)");
             exec(*hb::gMst, "INSERT INTO M_SHOP (SHOP_ID, SHOP_NM, ACC_ID, CHK_FLG) VALUES (1, '道の駅みどり', 1040, -1)");
             exec(*hb::gMst, "INSERT INTO M_PRD (SHOP_ID, PRD_ID, PRD_NM) VALUES (1, 101, 'トマト')");
             exec(*hb::gDb, "INSERT INTO D_PLANT (FMR_ID, PLANT_ID, PLANT_NM, YYYY, START_DATE) VALUES (1, 7, 'トマト', 2024, ?)",
                  {Value(QDate(2024, 3, 1))});
             exec(*hb::gDb, "INSERT INTO D_LEDGE (FMR_ID, LEDGE_ID, LEDGE_DATE, D_ACC_ID, C_ACC_ID, AMT) "
                            "VALUES (1, 40, ?, 1000, 4000, 1)",
                  {Value(QDate(2024, 1, 1))});
         },
         [](const Arm &arm) {
             hb::ShipRec r;
             for (int i = 0; i < hb::ShipRec::fieldCount(); ++i)
                 r.field(i) = Value::null();
             r.FMR_ID = Value(1);
             r.SHIP_DATE = Value(QDate(2024, 5, 10));
             r.PLANT_ID = Value(7);
             r.SHOP_ID = Value(1);
             r.PRD_ID = Value(101);
             r.PRD_NM = Value("トマト");
             r.LOCATE = Value("緑丘");
             r.PLAS = Value(true);
             r.ACC_ID = Value(1040);
             r.SHOP_PRC = Value(150);
             r.SHIP_QTY = Value(80);
             r.RTN_QTY = Value(0);
             r.SALES_QTY = Value(80);
             r.SALES_AMT = Value(hb::Currency::fromDouble(12000));
             r.FEE_RT = Value(15);
             r.FEE_AMT = Value(hb::Currency::fromDouble(1800));
             arm();
             try {
                 hb::SaveShipment(*hb::gDb, r, hb::kEditAdd);
             } catch (const hb::HbError &e) {
                 return e.description();
             }
             return QString();
         }},
        {"planting",
         [] {
             exec(*hb::gDb, "INSERT INTO D_PLANT (FMR_ID, PLANT_ID, PLANT_NM, YYYY) VALUES (1, 1, '春トマト', 2024)");
         },
         [](const Arm &arm) {
             hb::PlantRec r;
             r.FMR_ID = Value(1);
             r.PLANT_NM = Value("夏なす");
             r.YYYY = Value(2024);
             r.START_DATE = Value(QDate(2024, 5, 1));
             r.NOTES1 = Value("畝 3 本");
             arm();
             try {
                 hb::savePlant(*hb::gDb, hb::kEditAdd, r);
             } catch (const hb::HbError &e) {
                 return e.description();
             }
             return QString();
         }},
        {"voucher",
         [] {
             exec(*hb::gMst, "INSERT INTO M_FMR (FMR_ID, FMR_NM, CHK_FLG) VALUES (1, '緑丘 太郎', -1)");
             exec(*hb::gDb, "INSERT INTO D_LEDGE (FMR_ID, LEDGE_ID, LEDGE_DATE, D_ACC_ID, C_ACC_ID, AMT, CTR_NM) "
                            "VALUES (1, 4, ?, 1000, 4000, 3000, '道の駅')",
                  {Value(QDate(2008, 2, 10))});
         },
         [&ui](const Arm &arm) {
             hb::gCalMonth = QDate(2008, 2, 1);
             auto &list = hb::form<hb::frmLedgeList>();
             list.showModeless();
             hbtest::activate(&list);
             hbtest::settle();
             hbtest::onModal(ui, QStringLiteral("frmLedgeInput"), [&arm](QDialog *d) {
                 auto &in = static_cast<hb::frmLedgeInput &>(*d);
                 for (const auto &[box, text] : {std::pair{in.txtDATA[0], QStringLiteral("20080215")},
                                                 std::pair{in.txtDATA[1], QStringLiteral("朝市")},
                                                 std::pair{in.txtDATA[4], QStringLiteral("1200")}}) {
                     hbtest::focusByClick(box);
                     box->selectAll();
                     if (box == in.txtDATA[1])
                         hbtest::typeText(box, text);
                     else
                         QTest::keyClicks(box, text);  // boxes for numbers take no input-method text
                     hbtest::pressKey(Qt::Key_Tab);
                     hbtest::settle();
                     if (QWidget *popup = QApplication::activePopupWidget())
                         popup->close();  // a drop-down opened by the focus
                     hbtest::settle();
                 }
                 arm();
                 hbtest::click(in.cmdMENU[1]);
                 hbtest::settle();
                 if (in.isLoaded())
                     in.Unload();
             });
             hbtest::click(list.cmdMENU[1]);
             hbtest::settle();
             return lastPrompt(ui);
         }},
        {"product",
         [] {
             for (int id = 1; id <= 3; ++id)
                 exec(*hb::gMst, "INSERT INTO M_PRD (SHOP_ID, PRD_ID, PRD_NM, CHK_FLG, LAST_TM) VALUES (1, ?, ?, -1, 'OLD-PC')",
                      {Value(id), Value(QStringLiteral("品目%1").arg(id))});
         },
         [&ui](const Arm &arm) {
             auto &f = hb::form<hb::fdlMstPrdEdit>();
             f.showModeless();
             hbtest::activate(&f);
             hbtest::click(f.cmdSUB[1]);  // a new product under the next number
             arm();
             hbtest::click(f.cmdMENU[1]);
             hbtest::settle();
             return lastPrompt(ui);
         }},
        // A purchase modified: its voucher is posted anew under the number it keeps.
        {"purchase",
         [] {
             exec(*hb::gDb, "INSERT INTO D_CHEMI (FMR_ID, CHEMI_ID, CHEMI_NM, PUR_DATE, PUR_QTY, PUR_UNIT, ACC_ID, PUR_AMT, "
                            "USED_QTY, REST_QTY, LEDGE_ID, CHK_FLG) VALUES (1, 5, '薬剤5', ?, 2, 5, 1000, 3000, 0, 2, 17, -1)",
                  {Value(QDate(2024, 6, 1))});
             exec(*hb::gDb, "INSERT INTO D_LEDGE (FMR_ID, LEDGE_ID, LEDGE_DATE, D_ACC_ID, D_OPT_KBN, D_OPT_ID, C_ACC_ID, AMT) "
                            "VALUES (1, 17, ?, 1130, 3, 5, 1000, 3000)",
                  {Value(QDate(2024, 6, 1))});
         },
         [](const Arm &arm) {
             hb::ChemiRec r;
             auto rs = hb::gDb->GetFwdOnlyRst(QStringLiteral("SELECT * FROM D_CHEMI WHERE CHEMI_ID = 5"));
             for (int i = 0; i < hb::ChemiRec::fieldCount(); ++i)
                 r.field(i) = rs->Fields(i);
             r.PUR_QTY = Value(4);
             r.REST_QTY = Value(4);
             r.PUR_AMT = Value(hb::Currency::fromDouble(6000));
             r.PUR_DATE = Value(QDate(2024, 6, 2));
             arm();
             try {
                 hb::SaveChemi(*hb::gDb, hb::kEditModify, r);
             } catch (const hb::HbError &e) {
                 return e.description();
             }
             return QString();
         }},
    };
}

void say(const QString &line)
{
    std::printf("%s\n", line.toUtf8().constData());
    std::fflush(stdout);
}

}  // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc < 4) {
        std::fprintf(stderr, "usage: hb_drill_child FOLDER SAVE setup|run | FOLDER - export PATH\n");
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    const QString name = QString::fromLocal8Bit(argv[2]);
    const QString action = QString::fromLocal8Bit(argv[3]);
    hbtest::ScopedScriptedUi ui;
    hb::setAppPath(folder);
    hb::setCompNameSource([] { return QStringLiteral("PC-DRILL"); });
    hb::gFmrID = Value(1);
    hb::gShopID = Value(1);
    hb::gLedge.assign(1, hb::LedgeRec());
    hb::InitIni();
    hb::InitDb();
    hb::InitMst();
    hb::InitWork();

    if (action == QLatin1String("export")) {
        QString message;
        try {
            hb::WritePtagCsv(QString::fromLocal8Bit(argv[4]), std::vector<hb::PtagRec>(200));
        } catch (const hb::HbError &e) {
            message = e.description();
        }
        say(QStringLiteral("DONE 0 ") + message);
        return 0;
    }
    for (const Save &s : saves(ui.get())) {
        if (name != QLatin1String(s.name))
            continue;
        if (action == QLatin1String("setup")) {
            s.setup();
            say(QStringLiteral("READY"));
            return 0;
        }
        if (qgetenv("HB_DRILL_FULL") == "1") {
            hb::gDb->EXEC(QStringLiteral("VACUUM"));  // no free pages left to reuse
            const Value pages = hb::gDb->GetFwdOnlyRst(QStringLiteral("PRAGMA page_count"))->Fields(0);
            hb::gDb->EXEC(QStringLiteral("PRAGMA max_page_count = %1").arg(pages.toLong()));
        }
        const long killAt = qEnvironmentVariableIntValue("HB_DRILL_KILL_AT");
        long count = 0;
        const Arm arm = [&count, killAt] {
            hb::DbObject::statementDoneHook = [&count, killAt](const QString &) {
                if (++count == killAt) {
                    say(QStringLiteral("STOP %1").arg(count));
                    for (;;)
                        pause();
                }
            };
        };
        const QString message = s.run(arm);
        hb::DbObject::statementDoneHook = nullptr;
        say(QStringLiteral("DONE %1 %2").arg(count).arg(message));
        return 0;
    }
    std::fprintf(stderr, "no such save: %s\n", argv[2]);
    return 2;
}
