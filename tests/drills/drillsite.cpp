#include "drillsite.h"

#include "core/schema.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <atomic>

namespace drills {

namespace {

hb::ServerParams withDatabase(hb::ServerParams p, const QString &database)
{
    p.database = database;
    return p;
}

void copyOver(const QString &from, const QString &to)
{
    QFile::remove(to);
    QFile::remove(to + QStringLiteral("-journal"));
    if (!QFile::copy(from, to))
        throw hb::HbError(hb::kErrDatabase, QStringLiteral("cannot copy %1 to %2").arg(from, to));
}

}  // namespace

bool inCi()
{
    return qEnvironmentVariable("CI") == QLatin1String("true");
}

DrillSite::DrillSite(Backend backend, const hb::ServerParams &server) : backend_(backend)
{
    for (const char *d : {"bin", "ini", "work", "data"})
        QDir(dir_.path()).mkpath(QString::fromLatin1(d));
    {
        auto work = hb::DirectDb::file(workFile(), true);
        hb::loadSchema(*work, hb::Schema::Work);
        auto ini = hb::DirectDb::file(dir_.path() + QStringLiteral("/ini/INFO.MDB"), true);
        hb::loadSchema(*ini, hb::Schema::Settings);
    }
    QString dataName = dataFile();
    if (backend == Backend::MariaDb) {
        server_ = server;
        if (server_.dsn.isEmpty())
            server_.dsn = qEnvironmentVariable("HB_TEST_DSN");
        static std::atomic<int> counter{0};
        dataName = QStringLiteral("hbd_%1_%2").arg(QCoreApplication::applicationPid()).arg(++counter);
        {
            auto admin = hb::DirectDb::server(withDatabase(server_, QString()));
            admin->EXEC(QStringLiteral("CREATE DATABASE %1 CHARACTER SET utf8mb4 COLLATE utf8mb4_unicode_ci").arg(dataName));
        }
        madeDatabases_ << dataName;
        server_.database = dataName;
    }
    dataPath_ = dataFile();
    pointSettingsAt(dataName);
    auto data = openData();
    hb::loadSchema(*data, hb::Schema::Data);
    hb::loadSchema(*data, hb::Schema::Master);
}

DrillSite::~DrillSite()
{
    for (const QString &name : madeDatabases_)
        dropServerDatabase(name);
}

void DrillSite::dropServerDatabase(const QString &name) const
{
    try {
        auto admin = hb::DirectDb::server(withDatabase(server_, QString()));
        admin->EXEC(QStringLiteral("DROP DATABASE IF EXISTS %1").arg(name));
    } catch (const hb::HbError &) {
    }
}

void DrillSite::pointSettingsAt(const QString &dataName)
{
    auto ini = hb::DirectDb::file(dir_.path() + QStringLiteral("/ini/INFO.MDB"), false);
    ini->EXEC(QStringLiteral("DELETE FROM S_CTRL"));
    const bool server = backend_ == Backend::MariaDb;
    for (const char *prefix : {"DB_", "MST_"}) {
        const auto put = [&](const char *key, const QString &value) {
            ini->EXEC(QStringLiteral("INSERT INTO S_CTRL (CTRL_CD, CTRL_VALUE) VALUES (?, ?)"),
                      {hb::Value(QLatin1String(prefix) + QLatin1String(key)), hb::Value(value)});
        };
        put("TYPE", server ? QStringLiteral("1") : QStringLiteral("2"));
        put("NAME", dataName);
        if (server)
            put("DSN", server_.dsn);
    }
}

std::unique_ptr<hb::DirectDb> DrillSite::openData() const
{
    if (backend_ == Backend::MariaDb)
        return hb::DirectDb::server(server_);
    return hb::DirectDb::file(dataPath_, true);
}

void DrillSite::keepBase()
{
    copyOver(workFile(), workFile() + QStringLiteral(".base"));
    if (backend_ == Backend::MariaDb)
        baseDatabase_ = server_.database;
    else
        copyOver(dataFile(), dataFile() + QStringLiteral(".base"));
}

void DrillSite::restoreBase()
{
    copyOver(workFile() + QStringLiteral(".base"), workFile());
    if (backend_ == Backend::Sqlite) {
        copyOver(dataFile() + QStringLiteral(".base"), dataFile());
        return;
    }
    const QString previous = server_.database;
    const QString copy = QStringLiteral("%1_c%2").arg(baseDatabase_).arg(++copies_);
    {
        auto base = hb::DirectDb::server(withDatabase(server_, baseDatabase_));
        base->EXEC(QStringLiteral("CREATE DATABASE %1 CHARACTER SET utf8mb4 COLLATE utf8mb4_unicode_ci").arg(copy));
        for (const QString &t : base->connection().tables()) {
            base->EXEC(QStringLiteral("CREATE TABLE %1.%3 LIKE %2.%3").arg(copy, baseDatabase_, t));
            base->EXEC(QStringLiteral("INSERT INTO %1.%3 SELECT * FROM %2.%3").arg(copy, baseDatabase_, t));
        }
    }
    madeDatabases_ << copy;
    server_.database = copy;
    pointSettingsAt(copy);
    if (previous != baseDatabase_) {
        dropServerDatabase(previous);
        madeDatabases_.removeAll(previous);
    }
}

void DrillSite::moveDataFile(const QString &path)
{
    copyOver(dataFile(), path);
    dataPath_ = path;
    pointSettingsAt(path);
}

ChildResult DrillSite::runChild(const QString &save, const QString &action, long killAt, const QStringList &extraEnv,
                                const QStringList &wrapper, const QStringList &extraArgs) const
{
    ChildResult r;
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("HB_DRILL_KILL_AT"), QString::number(killAt));
    for (const QString &e : extraEnv)
        env.insert(e.section(QLatin1Char('='), 0, 0), e.section(QLatin1Char('='), 1));
    p.setProcessEnvironment(env);
    p.setProcessChannelMode(QProcess::SeparateChannels);
    const QStringList args = QStringList{folder(), save, action} + extraArgs;
    if (wrapper.isEmpty())
        p.start(QStringLiteral(HB_DRILL_CHILD), args);
    else
        p.start(wrapper.first(), wrapper.mid(1) + QStringList{QStringLiteral(HB_DRILL_CHILD)} + args);
    r.started = p.waitForStarted(10000);
    if (!r.started)
        return r;
    QByteArray buffer;
    for (;;) {
        if (p.canReadLine() || p.waitForReadyRead(60000)) {
            while (p.canReadLine()) {
                const QString line = QString::fromUtf8(p.readLine()).chopped(1);
                r.output += line + QLatin1Char('\n');
                if (killAt > 0 && line == QStringLiteral("STOP %1").arg(killAt)) {
                    p.kill();  // SIGKILL
                    p.waitForFinished(10000);
                    r.stopped = true;
                    return r;
                }
                if (line.startsWith(QLatin1String("DONE "))) {
                    r.done = true;
                    r.statements = line.section(QLatin1Char(' '), 1, 1).toLong();
                    r.message = line.section(QLatin1Char(' '), 2);
                }
            }
            continue;
        }
        break;  // the child ended (or stayed silent for a minute)
    }
    if (p.state() != QProcess::NotRunning) {
        p.kill();
        p.waitForFinished(10000);
    }
    r.output += QString::fromUtf8(p.readAllStandardError());
    return r;
}

QStringList dumpTables(hb::DbObject &db, bool maskAudit)
{
    static const QStringList audit = {QStringLiteral("IDATE"), QStringLiteral("UDATE"), QStringLiteral("LAST_TM"),
                                      QStringLiteral("HOLD_TM")};
    QStringList tables = db.connection().tables();
    tables.sort(Qt::CaseInsensitive);
    QStringList out;
    for (const QString &t : tables) {
        const QStringList cols = db.tableColumns(t);
        QStringList order;
        for (int i = 1; i <= cols.size(); ++i)
            order << QString::number(i);
        auto rs = db.GetFwdOnlyRst(QStringLiteral("SELECT * FROM %1 ORDER BY %2").arg(t, order.join(QLatin1Char(','))));
        QStringList rows;
        for (; !rs->eof(); rs->MoveNext()) {
            QStringList fields;
            for (int i = 0; i < rs->FieldCount(); ++i) {
                if (maskAudit && audit.contains(rs->FieldName(i), Qt::CaseInsensitive))
                    continue;
                const hb::Value v = rs->Fields(i);
                fields << (v.isNull() ? QStringLiteral("<null>")
                                      : v.isNumber() ? QString::number(v.toDouble(), 'g', 15) : v.displayText());
            }
            rows << t + QLatin1Char(':') + fields.join(QLatin1Char('|'));
        }
        rows.sort();  // rows equal but for a masked column sort alike
        out += rows;
    }
    return out;
}

QString integrity(hb::DbObject &db)
{
    QStringList problems;
    if (db.kind() == hb::DbKind::File) {
        auto rs = db.GetFwdOnlyRst(QStringLiteral("PRAGMA integrity_check"));
        for (; !rs->eof(); rs->MoveNext())
            problems << rs->Fields(0).displayText();
        return problems.join(QLatin1Char('\n'));
    }
    for (const QString &t : db.connection().tables()) {
        auto rs = db.GetFwdOnlyRst(QStringLiteral("CHECK TABLE %1").arg(t));
        for (; !rs->eof(); rs->MoveNext()) {
            if (rs->Fields(QStringLiteral("Msg_type")).displayText() == QLatin1String("status") &&
                rs->Fields(QStringLiteral("Msg_text")).displayText() != QLatin1String("OK"))
                problems << t + QStringLiteral(": ") + rs->Fields(QStringLiteral("Msg_text")).displayText();
        }
    }
    return problems.isEmpty() ? QStringLiteral("ok") : problems.join(QLatin1Char('\n'));
}

}  // namespace drills
