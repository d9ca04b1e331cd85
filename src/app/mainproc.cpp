#include "app/mainproc.h"

#include "app/fdlsetconctrl.h"
#include "app/fdlsetlocalctrl.h"
#include "app/fmnmain.h"
#include "core/apphooks.h"
#include "core/db.h"
#include "core/forms.h"
#include "core/globals.h"
#include "core/helpers.h"
#include "core/schema.h"
#include "core/startup.h"
#include "cultivation/chemistock.h"
#include "diary/frmdairycal.h"
#include "masters/fdlmstfmredit.h"
#include "masters/fdlmstshopedit.h"

#include <QApplication>

namespace hb {

namespace {

// A setting read as a whole number; missing, Null or unconvertible reads as 0.
long settingNumber(const QString &key)
{
    const Value v = iniDb().GetCtrl(key);
    if (isBlank(v) || !IsNumeric(v))
        return 0;
    return static_cast<long>(v.toLong());
}

// Asks until the default ID names a row of the master table, or the user cancels a dialog
// (which ends the program). Each pass puts the ID read into *current when given, so the
// dialogs see it.
template <class MasterDialog>
void checkDefault(const QString &key, const QString &table, const QString &idColumn, const QString &missingId,
                  const QString &noRows, Value *current)
{
    for (;;) {
        const long id = settingNumber(key);
        if (current)
            *current = Value(static_cast<long long>(id));
        if (id == 0) {
            ShowMsg(missingId, kMsgExclamation);
            form<fdlSetLocalCtrl>().showModal(nullptr);
            continue;
        }
        if (NullToVal(masterDb().DCount(QStringLiteral("*"), table, QString()), Value(0)).toLong() == 0) {
            ShowMsg(noRows, kMsgExclamation);
            form<MasterDialog>().showModal(nullptr);
            continue;
        }
        if (NullToVal(masterDb().DCount(QStringLiteral("*"), table, idColumn + QLatin1Char('=') + QString::number(id)),
                      Value(0)).toLong() == 0) {
            ShowMsg(missingId, kMsgExclamation);
            form<fdlSetLocalCtrl>().showModal(nullptr);
            continue;
        }
        return;
    }
}

}  // namespace

void installAppHooks()
{
    appHooks().connectionSettings = [] { form<fdlSetConCtrl>().showModal(nullptr); };
    appHooks().mainMenu = [](QWidget *owner) { form<fmnMain>().showModal(owner); };
}

std::function<void(const QString &)> &startUpStepHook()
{
    static std::function<void(const QString &)> hook;
    return hook;
}

namespace {

void beginStep(const char *name)
{
    if (startUpStepHook())
        startUpStepHook()(QString::fromLatin1(name));
}

// The start-up after the databases exist. Its steps trap nothing of their own.
void startUp()
{
    gFmrID = Value::integer(0);
    gShopID = Value::integer(1);
    beginStep("settings");
    InitIni();
    beginStep("data");
    InitDb();
    beginStep("master");
    InitMst();
    beginStep("work");
    InitWork();

    const long useType = settingNumber(QStringLiteral("USE_TYPE"));
    gUseType = (useType >= -32768 && useType <= 32767) ? static_cast<int>(useType) : 0;

    beginStep("grower");
    checkDefault<fdlMstFmrEdit>(QStringLiteral("DEF_FMR_ID"), QStringLiteral("M_FMR"), QStringLiteral("FMR_ID"),
                                QStringLiteral("既定生産者IDを設定してください。"),
                                QStringLiteral("生産者情報を設定してください。"), &gFmrID);
    // The default shop only has to exist: the shop in use stays 1.
    beginStep("shop");
    checkDefault<fdlMstShopEdit>(QStringLiteral("DEF_SHOP_ID"), QStringLiteral("M_SHOP"), QStringLiteral("SHOP_ID"),
                                 QStringLiteral("既定販売店IDを設定してください。"),
                                 QStringLiteral("販売店情報を設定してください。"), nullptr);

    // The reset alone may fail on a data file that cannot be written (read-only, a full disk):
    // it is reported as the start reports an error, the start goes on so that the days can be
    // read, and the next start that can write resets. Any other failure of the reset is reported
    // alike and the start goes on too.
    beginStep("pesticide");
    trapped(Trap::Critical, resetChemiUse);

    beginStep("window");
    switch (gUseType) {
    case kUseSingle:
        form<frmDairyCal>().showModeless();
        break;
    case kUseMulti:
        form<fmnMain>().showModeless();
        break;
    default:
        EndApp();
    }
}

}  // namespace

void Main()
{
    installAppHooks();
    try {
        createMissingDatabases();
    } catch (const HbError &e) {
        ShowMsg(e.description(), kMsgCritical);
        ui().endProgram(1);
    }
    // An error that no step traps is reported (critical, its description) and the program ends,
    // its windows unloaded and its databases released.
    if (!trapped(Trap::Critical, startUp))
        EndApp();
}

void runProgram(QApplication &app)
{
    // The start-up's dialogs come and go before the main window exists.
    app.setQuitOnLastWindowClosed(false);
    Main();
    app.setQuitOnLastWindowClosed(true);
    app.exec();
    EndApp();
}

}  // namespace hb
