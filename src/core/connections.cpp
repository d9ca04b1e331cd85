// The four databases: creating and opening them, and the program's folder they lie beside.

#include "core/databases.h"

#include "core/apphooks.h"
#include "core/helpers.h"
#include "core/schema.h"
#include "core/uiservices.h"

#include <QCoreApplication>
#include <QDir>

namespace hb {

std::unique_ptr<clsINI> gINI;
std::unique_ptr<clsDb> gDb;
std::unique_ptr<clsMst> gMst;
std::unique_ptr<clsWork> gWork;

// The program's folder and the files beside it.

namespace {
QString gAppPathValue;
}  // namespace

QString appPath()
{
    if (gAppPathValue.isEmpty())
        return QCoreApplication::applicationDirPath();
    return gAppPathValue;
}

void setAppPath(const QString &path)
{
    gAppPathValue = path;
}

QString iniDbPath()
{
    return QDir::cleanPath(appPath() + QStringLiteral("/../ini/INFO.MDB"));
}

QString workDbPath()
{
    return QDir::cleanPath(appPath() + QStringLiteral("/../work/WORK.MDB"));
}

namespace {

// The settings and work files: a file that cannot be opened is reported and the program ends.
template <class F>
void openOrEnd(F &&open)
{
    try {
        open();
    } catch (const HbError &e) {
        ShowMsg(e.description(), kMsgCritical);
        ui().endProgram(1);
    }
}

template <class T>
DbObject &existing(const std::unique_ptr<T> &db)
{
    if (!db)
        throw HbError(kErrNoObject, QStringLiteral("オブジェクト変数が設定されていません。"));
    return *db;
}

}  // namespace

void openDataDb()
{
    if (!gDb)
        InitDb();
}

DbObject &iniDb()
{
    return existing(gINI);
}

DbObject &dataDb()
{
    return existing(gDb);
}

DbObject &masterDb()
{
    return existing(gMst);
}

DbObject &workDb()
{
    return existing(gWork);
}

void InitIni()
{
    gINI.reset();
    gINI = std::make_unique<clsINI>();
}

void InitDb()
{
    gDb.reset();
    gDb = std::make_unique<clsDb>();
}

void InitMst()
{
    gMst.reset();
    gMst = std::make_unique<clsMst>();
}

void InitWork()
{
    gWork.reset();
    gWork = std::make_unique<clsWork>();
}

void releaseDatabases()
{
    gDb.reset();
    gMst.reset();
    gWork.reset();
    gINI.reset();
}

clsINI::clsINI()
{
    openOrEnd([this] { OpenCnn(); });
}

void clsINI::OpenCnn()
{
    setKind(DbKind::File);
    openFile(iniDbPath(), false);
}

clsWork::clsWork()
{
    openOrEnd([this] { OpenCnn(); });
}

void clsWork::OpenCnn()
{
    setKind(DbKind::File);
    openFile(workDbPath(), false);
}

clsDb::clsDb()
{
    OpenCnn();
}

void clsDb::OpenCnn()
{
    openBySettings(false);
    addMissingIndexes(*this, Schema::Data);
}

clsMst::clsMst()
{
    OpenCnn();
}

void clsMst::OpenCnn()
{
    openBySettings(true);
}

void DbObject::openBySettings(bool master)
{
    const QString question = master ? QStringLiteral("ﾏｽﾀﾃﾞｰﾀが不正ですので設定してください。")
                                    : QStringLiteral("ﾃﾞｰﾀﾍﾞｰｽが不正ですので設定してください。");
    const QString prefix = master ? QStringLiteral("MST_") : QStringLiteral("DB_");
    for (;;) {
        try {
            if (!gINI)
                InitIni();
            clsINI &ini = *gINI;
            const QString type = master ? ini.MST_TYPE() : ini.DB_TYPE();
            if (type == QLatin1String("1")) {
                ServerParams p;
                p.dsn = master ? ini.MST_DSN() : ini.DB_DSN();
                p.server = master ? ini.MST_SERVER() : ini.DB_SERVER();
                p.database = master ? ini.MST_NAME() : ini.DB_NAME();
                p.user = master ? ini.MST_USER() : ini.DB_USER();
                p.password = master ? ini.MST_PSWD() : ini.DB_PSWD();
                openServer(p);
            } else if (type == QLatin1String("2")) {
                // The name completed and found, or "" when there is no such file.
                const QString path = master ? ini.MST_NAME() : ini.DB_NAME();
                if (path.isEmpty()) {
                    throw HbError(kErrDatabase,
                                  fileMissingText(NullToVal(ini.GetCtrl(prefix + QStringLiteral("NAME")), Value(QString()))
                                                      .displayText()));
                }
                openFile(path, false);
            } else {
                throw HbError(kErrNoConnectionKind, noKindText());
            }
            requireTables(*this, master ? Schema::Master : Schema::Data);
            return;
        } catch (const HbError &e) {
            CloseCnn();
            // The question names the cause on its second line. Without a settings dialog to
            // correct them with, the settings cannot change.
            if (ShowMsg(question + QLatin1Char('\n') + e.description(), kMsgYesNo | kMsgCritical) != kAnsYes ||
                !appHooks().connectionSettings)
                ui().endProgram(0);
            appHooks().connectionSettings();
        }
    }
}

}  // namespace hb
