#include "common/twocomputers.h"

#include "core/recordhold.h"
#include "core/schema.h"

namespace hbtest {

TwoComputers::TwoComputers(FreshDatabase &shared)
{
    for (int i = 0; i < 2; ++i) {
        dirs_[i] = std::make_unique<ProgramDir>();
        hb::setAppPath(dirs_[i]->bin());
        hb::createMissingDatabases(dirs_[i]->bin());
        hb::InitIni();
        const bool server = shared.backend() == Backend::MariaDb;
        for (const char *prefix : {"DB_", "MST_"}) {
            const QString p = QString::fromLatin1(prefix);
            hb::gINI->SaveCtrl(p + QStringLiteral("TYPE"), hb::Value(server ? "1" : "2"));
            hb::gINI->SaveCtrl(p + QStringLiteral("DSN"), hb::Value(shared.serverParams().dsn));
            hb::gINI->SaveCtrl(p + QStringLiteral("NAME"),
                               hb::Value(server ? shared.serverParams().database : shared.filePath()));
        }
        if (!server && i == 0) {
            // A file gets no tables when connected: the first computer's set-up makes them.
            hb::loadSchema(shared.db(), hb::Schema::Data);
            hb::loadSchema(shared.db(), hb::Schema::Master);
        }
        hb::setCompNameSource([i] { return name(i); });
        hb::InitDb();
        hb::InitMst();
        hb::InitWork();
        aside_[i] = {std::move(hb::gINI), std::move(hb::gDb), std::move(hb::gMst), std::move(hb::gWork)};
    }
    use(0);
}

TwoComputers::~TwoComputers()
{
    hb::releaseDatabases();
    for (Aside &a : aside_)
        a = Aside();
    hb::setCompNameSource(nullptr);
    hb::setAppPath(QString());
}

void TwoComputers::use(int which)
{
    if (which == current_)
        return;
    if (current_ >= 0)
        aside_[current_] = {std::move(hb::gINI), std::move(hb::gDb), std::move(hb::gMst), std::move(hb::gWork)};
    Aside &a = aside_[which];
    hb::gINI = std::move(a.ini);
    hb::gDb = std::move(a.db);
    hb::gMst = std::move(a.mst);
    hb::gWork = std::move(a.work);
    hb::setAppPath(dirs_[which]->bin());
    hb::setCompNameSource([which] { return name(which); });
    current_ = which;
}

}  // namespace hbtest
