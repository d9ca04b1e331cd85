#pragma once
// The data database of either kind and a work database with its reference rows, opened as the
// program opens them (through the settings), for procedures that work on gDb and gWork.

#include "common/backends.h"
#include "common/programdir.h"
#include "common/runglobals.h"
#include "common/scriptedui.h"
#include "core/db.h"
#include "core/recordhold.h"
#include "core/schema.h"

#include <QStringList>

namespace hbtest {

// Every row of a table as text, in the given order: what a test compares before and after.
inline QStringList dumpRows(hb::DbObject &db, const QString &table, const QString &order)
{
    QStringList rows;
    auto rs = db.GetFwdOnlyRst("SELECT * FROM " + table + " ORDER BY " + order);
    for (; !rs->eof(); rs->MoveNext()) {
        QStringList fields;
        for (int i = 0; i < rs->FieldCount(); ++i) {
            const hb::Value v = rs->Fields(i);
            fields << (v.isNull() ? QStringLiteral("<null>") : v.isNumber() ? QString::number(v.toDouble(), 'g', 15)
                                                                            : v.displayText());
        }
        rows << fields.join('|');
    }
    return rows;
}

class GlobalDbs : public BothBackends {
protected:
    void SetUp() override
    {
        BothBackends::SetUp();
        if (IsSkipped())
            return;
        resetRunGlobals();
        hb::setCompNameSource([] { return QStringLiteral("PC-TEST"); });
        hb::loadSchema(db(), hb::Schema::Data);
        const bool server = GetParam() == Backend::MariaDb;
        {
            auto ini = hb::DirectDb::file(dir.path("ini/INFO.MDB"), true);
            hb::loadSchema(*ini, hb::Schema::Settings);
            const auto put = [&](const char *key, const QString &value) {
                ini->EXEC("INSERT INTO S_CTRL (CTRL_CD, CTRL_VALUE) VALUES (?, ?)", {hb::Value(key), hb::Value(value)});
            };
            put("DB_TYPE", server ? "1" : "2");
            put("DB_NAME", server ? fresh().serverParams().database : fresh().filePath());
            if (server)
                put("DB_DSN", fresh().serverParams().dsn);
        }
        hb::loadSchema(*hb::DirectDb::file(dir.path("work/WORK.MDB"), true), hb::Schema::Work);
        hb::InitIni();
        hb::InitDb();
        hb::InitWork();
    }
    void TearDown() override
    {
        ProgramDir::releaseGlobals();
        hb::setCompNameSource(nullptr);
        resetRunGlobals();
        BothBackends::TearDown();
    }

    // Opens gMst too, its tables beside the data tables in the same test database.
    void openMaster()
    {
        hb::loadSchema(db(), hb::Schema::Master);
        const bool server = GetParam() == Backend::MariaDb;
        hb::gINI->SaveCtrl("MST_TYPE", hb::Value(server ? "1" : "2"));
        hb::gINI->SaveCtrl("MST_NAME", hb::Value(server ? fresh().serverParams().database : fresh().filePath()));
        if (server)
            hb::gINI->SaveCtrl("MST_DSN", hb::Value(fresh().serverParams().dsn));
        hb::InitMst();
    }

    // One value of the data database.
    static hb::Value one(const QString &sql, const std::vector<hb::Value> &params = {})
    {
        auto rs = hb::gDb->GetFwdOnlyRst(sql, params);
        return rs->eof() ? hb::Value() : rs->Fields(0);
    }

    ProgramDir dir;
    ScopedScriptedUi ui;
};

}  // namespace hbtest
