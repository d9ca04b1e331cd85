// The start to the first window as a process of its own, for the start-up benchmark.
//
//   hb_bench_start program FOLDER   the program's start-up (Main) on the program folder FOLDER
//   hb_bench_start raw FOLDER       its baseline: the same settings read, the databases opened,
//                                   the grower and the shop looked up and the unused purchases
//                                   reset by hand-written statements through the raw driver,
//                                   then a bare window of the calendar's size shown
//
// When the first window has been shown and painted the child prints "SHOWN name" and ends; the
// calendar adds the month it shows and how many of its days have a diary row and a mark of
// each layer ("SHOWN frmDairyCal 2024-06 diary 30 money 30 pesticide 30 shipment 30"). Any
// message box or dialog is printed ("BOX ..." / "DIALOG ...") and ends the child with 3.

#include "app/mainproc.h"
#include "core/appinit.h"
#include "core/db.h"
#include "core/forms.h"
#include "core/startup.h"
#include "core/uiservices.h"
#include "diary/frmdairycal.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QHash>
#include <QSqlQuery>
#include <QWidget>
#include <cstdio>
#include <cstdlib>
#include <sqlite3.h>

namespace {

class FailingUi : public hb::UiServices {
public:
    int messageBox(QWidget *, const QString &prompt, int style, const QString &) override
    {
        std::printf("BOX %d %s\n", style, prompt.toUtf8().constData());
        std::fflush(stdout);
        std::_Exit(3);
    }
    int execModal(QDialog *dialog) override
    {
        std::printf("DIALOG %s\n", dialog->objectName().toUtf8().constData());
        std::fflush(stdout);
        std::_Exit(3);
    }
};

void shown(QWidget *window)
{
    QCoreApplication::processEvents();  // the first painting
    QString what = window->objectName();
    if (const auto *cal = dynamic_cast<const hb::frmDairyCal *>(window)) {
        int diary = 0, money = 0, pesticide = 0, shipment = 0;
        for (const hb::CalCell &c : cal->calView().cells) {
            diary += c.hasDiary;
            money += c.money;
            pesticide += c.pesticide;
            shipment += c.shipment;
        }
        what += QStringLiteral(" %1 diary %2 money %3 pesticide %4 shipment %5")
                    .arg(cal->calView().month.toString(QStringLiteral("yyyy-MM")))
                    .arg(diary)
                    .arg(money)
                    .arg(pesticide)
                    .arg(shipment);
    }
    std::printf("SHOWN %s\n", what.toUtf8().constData());
    std::fflush(stdout);
}

// ---- the baseline ------------------------------------------------------------------------------

sqlite3 *openFile(const QString &path)
{
    sqlite3 *db = nullptr;
    if (sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK) {
        std::fprintf(stderr, "cannot open %s\n", path.toUtf8().constData());
        std::_Exit(4);
    }
    return db;
}

// The first column of each row of a statement with one bound integer (?1, when given).
QStringList fileRows(sqlite3 *db, const char *sql, long arg = 0)
{
    sqlite3_stmt *st = nullptr;
    if (sqlite3_prepare_v2(db, sql, -1, &st, nullptr) != SQLITE_OK) {
        std::fprintf(stderr, "%s: %s\n", sql, sqlite3_errmsg(db));
        std::_Exit(4);
    }
    if (sqlite3_bind_parameter_count(st) > 0)
        sqlite3_bind_int64(st, 1, arg);
    QStringList out;
    while (sqlite3_step(st) == SQLITE_ROW) {
        const auto *t = reinterpret_cast<const char *>(sqlite3_column_text(st, 0));
        out << QString::fromUtf8(t ? t : "");
    }
    sqlite3_finalize(st);
    return out;
}

const char *const kReset =
    "UPDATE D_CHEMI SET USED_QTY=0, REST_QTY=PUR_QTY WHERE FMR_ID=%1"
    " AND (USED_QTY IS NULL OR USED_QTY<>0 OR (REST_QTY IS NULL AND PUR_QTY IS NOT NULL)"
    " OR (REST_QTY IS NOT NULL AND PUR_QTY IS NULL) OR REST_QTY<>PUR_QTY)"
    " AND NOT EXISTS (SELECT 1 FROM D_DIARY_DTL WHERE D_DIARY_DTL.CHEMI_ID=D_CHEMI.CHEMI_ID)";

int runRaw(const QString &folder)
{
    const QString bin = QDir(folder).filePath(QStringLiteral("bin"));
    const auto inFolder = [&bin](const QString &name) {
        return QDir::isAbsolutePath(name) ? name : QDir::cleanPath(bin + QLatin1Char('/') + name);
    };
    sqlite3 *ini = openFile(inFolder(QStringLiteral("../ini/INFO.MDB")));
    QHash<QString, QString> settings;
    {
        sqlite3_stmt *st = nullptr;
        sqlite3_prepare_v2(ini, "SELECT CTRL_CD, CTRL_VALUE FROM S_CTRL", -1, &st, nullptr);
        while (sqlite3_step(st) == SQLITE_ROW) {
            const auto *k = reinterpret_cast<const char *>(sqlite3_column_text(st, 0));
            const auto *v = reinterpret_cast<const char *>(sqlite3_column_text(st, 1));
            settings.insert(QString::fromUtf8(k ? k : ""), QString::fromUtf8(v ? v : ""));
        }
        sqlite3_finalize(st);
    }
    sqlite3 *work = openFile(inFolder(QStringLiteral("../work/WORK.MDB")));
    fileRows(work, "SELECT COUNT(*) FROM L_KBN");
    sqlite3 *master = openFile(inFolder(settings.value(QStringLiteral("MST_NAME"))));
    const long grower = settings.value(QStringLiteral("DEF_FMR_ID")).toLong();
    const long shop = settings.value(QStringLiteral("DEF_SHOP_ID")).toLong();
    if (fileRows(master, "SELECT FMR_ID FROM M_FMR WHERE FMR_ID=?1", grower).isEmpty()
        || fileRows(master, "SELECT SHOP_ID FROM M_SHOP WHERE SHOP_ID=?1", shop).isEmpty())
        return 5;
    const QByteArray reset = QByteArray(kReset).replace("%1", QByteArray::number(static_cast<qlonglong>(grower)));
    if (settings.value(QStringLiteral("DB_TYPE")) == QLatin1String("1")) {
        hb::ServerParams params;
        params.dsn = settings.value(QStringLiteral("DB_DSN"));
        params.database = settings.value(QStringLiteral("DB_NAME"));
        auto data = hb::DirectDb::server(params);
        QSqlQuery q(data->connection());
        if (!q.exec(QString::fromLatin1(reset)))
            return 6;
    } else {
        sqlite3 *data = openFile(inFolder(settings.value(QStringLiteral("DB_NAME"))));
        if (sqlite3_exec(data, reset.constData(), nullptr, nullptr, nullptr) != SQLITE_OK)
            return 6;
    }
    QWidget window;
    window.setObjectName(QStringLiteral("baseline"));
    window.resize(800, 600);
    window.show();
    shown(&window);
    return 0;
}

}  // namespace

int main(int argc, char **argv)
{
    hb::readTimeZoneOnce();
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    hb::Application app(argc, argv);
    hb::initApplication(app);
    if (argc < 3) {
        std::fprintf(stderr, "usage: hb_bench_start program|raw FOLDER\n");
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[2]);
    if (qstrcmp(argv[1], "raw") == 0)
        return runRaw(folder);
    hb::setAppPath(QDir(folder).filePath(QStringLiteral("bin")));
    hb::setUi(std::make_unique<FailingUi>());
    app.setQuitOnLastWindowClosed(false);
    hb::Main();
    const auto forms = hb::loadedForms();
    if (forms.empty())
        return 7;
    shown(forms.front());
    hb::EndApp();
}
