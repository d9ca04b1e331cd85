#include "core/schema.h"

#include "core/log.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>

namespace hb {

namespace {

// What the server appends to every CREATE TABLE: transactions, and Japanese text in full.
const char *const kServerTableOptions = " ENGINE=InnoDB DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_unicode_ci";

// The pesticide purchases whose rest is not their purchase less their use (Null when either is
// Null), which the stock's fix-up rewrites: a file keeps just those rows in a partial index
// (whose condition the fix-up repeats word for word, so that it is used); a server, which has no
// partial index, marks them in an invisible column of its own with an index on it. A server
// where the column could not be added (no ALTER privilege) rewrites what it finds by reading
// every purchase, as before.
const char *const kRestIndex = "IX_D_CHEMI_REST";
const char *const kRestOffOnFile = "REST_QTY IS NOT PUR_QTY-USED_QTY";
const char *const kRestIndexOnServer =
    "ALTER TABLE D_CHEMI ADD COLUMN REST_OFF TINYINT AS (NOT (REST_QTY <=> PUR_QTY-USED_QTY)) VIRTUAL INVISIBLE,"
    " ADD INDEX IX_D_CHEMI_REST (REST_OFF)";

QString schemaResource(Schema which)
{
    switch (which) {
    case Schema::Settings:
        return QStringLiteral(":/db/ini.sql");
    case Schema::Work:
        return QStringLiteral(":/db/work.sql");
    case Schema::Data:
        return QStringLiteral(":/db/data.sql");
    case Schema::Master:
        return QStringLiteral(":/db/master.sql");
    }
    return QString();
}

// How the messages name each database.
QString databaseLabel(Schema which)
{
    switch (which) {
    case Schema::Settings:
        return QStringLiteral("設定データベース");
    case Schema::Work:
        return QStringLiteral("ワークデータベース");
    case Schema::Data:
        return QStringLiteral("データベース");
    case Schema::Master:
        return QStringLiteral("マスタデータベース");
    }
    return QString();
}

// The statements of one SQL file: whole-line "--" comments are dropped and a statement ends
// with ";" at the end of a line.
QStringList sqlStatements(const QString &resource)
{
    QFile f(resource);
    if (!f.open(QIODevice::ReadOnly))
        throw HbError(kErrDatabase, QStringLiteral("スキーマ %1 が見つかりません。").arg(resource));
    const QString text = QString::fromUtf8(f.readAll());
    QStringList out;
    QString cur;
    for (QString line : text.split(QLatin1Char('\n'))) {
        line.remove(QLatin1Char('\r'));
        const QString t = line.trimmed();
        if (t.isEmpty() || t.startsWith(QLatin1String("--")))
            continue;
        cur += line + QLatin1Char('\n');
        if (t.endsWith(QLatin1Char(';'))) {
            cur = cur.trimmed();
            cur.chop(1);
            out << cur.trimmed();
            cur.clear();
        }
    }
    if (!cur.trimmed().isEmpty())
        out << cur.trimmed();
    return out;
}

// The table a CREATE TABLE statement creates, or "" for any other statement.
QString createdTable(const QString &statement)
{
    static const QRegularExpression re(QStringLiteral("^CREATE\\s+TABLE\\s+(\\w+)"),
                                       QRegularExpression::CaseInsensitiveOption);
    const auto m = re.match(statement);
    return m.hasMatch() ? m.captured(1) : QString();
}

// A database file stores a text of any length in a VARCHAR(n) column: every such column gets a
// check of its length in characters, so the file refuses what the server refuses. (The server
// needs none: its strict mode refuses an over-long text, and its length() counts bytes.)
QString withLengthChecks(const QString &createTable)
{
    static const QRegularExpression column(QStringLiteral("(^|[(,]\\s*)(\\w+)(\\s+VARCHAR\\s*\\(\\s*(\\d+)\\s*\\))"),
                                           QRegularExpression::CaseInsensitiveOption |
                                               QRegularExpression::MultilineOption);
    QString out = createTable;
    out.replace(column, QStringLiteral("\\1\\2\\3 CHECK(length(\\2) <= \\4)"));
    return out;
}

// Runs the statements in order; the tables made are added to *made when given.
void execAll(DbObject &db, const QStringList &statements, QStringList *made = nullptr)
{
    const bool server = db.kind() == DbKind::Server;
    for (const QString &s : statements) {
        const QString table = createdTable(s);
        if (table.isEmpty()) {
            db.EXEC(s);
            continue;
        }
        db.EXEC(server ? s + QLatin1String(kServerTableOptions) : withLengthChecks(s));
        if (made)
            *made << table;
    }
}

QString failure(const QString &what, const QString &path, const QString &why)
{
    return QStringLiteral("%1「%2」%3").arg(what, QDir::toNativeSeparators(path), why);
}

// An existing settings or work file must be a database holding the tables of its kind.
void requireDatabase(const QString &path, Schema which)
{
    std::unique_ptr<DirectDb> db;
    try {
        db = DirectDb::file(path, false);
    } catch (const HbError &e) {
        // The cause names the file.
        throw HbError(e.number(), databaseLabel(which) + QStringLiteral("を開けません。") + e.description());
    }
    for (const QString &table : schemaTables(which)) {
        if (db->tableColumns(table).isEmpty())
            throw HbError(kErrDatabase, failure(databaseLabel(which), path,
                                                QStringLiteral("に表 %1 がありません。").arg(table)));
    }
}

// Builds a database file under a temporary name beside it and renames it into place, so a
// failure leaves no half-made file. False when another start created the file meanwhile.
bool createDatabaseFile(const QString &path, Schema which)
{
    const QString label = databaseLabel(which);
    const QFileInfo info(path);
    if (!QDir().mkpath(info.absolutePath()))
        throw HbError(kErrDatabase, failure(label, path,
                                            QStringLiteral("を作成できません。フォルダ「%1」を作成できません。")
                                                .arg(QDir::toNativeSeparators(info.absolutePath()))));
    const QString temp = QStringLiteral("%1.%2.new").arg(path).arg(QCoreApplication::applicationPid());
    const auto removeTemp = [&temp] {
        QFile::remove(temp);
        QFile::remove(temp + QStringLiteral("-journal"));
    };
    removeTemp();
    try {
        auto db = DirectDb::file(temp, true);
        loadSchema(*db, which);
        if (which == Schema::Settings) {
            TransactionScope scope(*db);
            execAll(*db, sqlStatements(QStringLiteral(":/db/ini_data.sql")));
            scope.commit();
        }
    } catch (const HbError &e) {
        removeTemp();
        throw HbError(e.number(), failure(label, path, QStringLiteral("を作成できません。%1").arg(e.description())));
    }
    if (QFile::rename(temp, path))
        return true;
    removeTemp();
    if (QFileInfo::exists(path))
        return false;
    throw HbError(kErrDatabase, failure(label, path, QStringLiteral("を作成できません。")));
}

// The file a stored database name stands for: relative names are completed with the program's
// folder, names beginning with "/" are taken as they are. Names of another form ("\\server",
// "C:...") are never one of the default files: "" for them.
QString storedNamePath(const QString &programFolder, const QString &name)
{
    if (name.isEmpty())
        return QString();
    if (name.startsWith(QLatin1Char('/')))
        return QDir::cleanPath(name);
    if (name.startsWith(QLatin1String("\\\\")) || name.contains(QLatin1Char(':')))
        return QString();
    return QDir::cleanPath(programFolder + QLatin1Char('/') + name);
}

// The connection settings that decide about the default data and master files.
QHash<QString, QString> fileSettings(const QString &iniPath)
{
    QHash<QString, QString> out;
    try {
        auto db = DirectDb::file(iniPath, false);
        auto rs = db->GetFwdOnlyRst(QStringLiteral(
            "SELECT CTRL_CD, CTRL_VALUE FROM S_CTRL WHERE CTRL_CD IN ('DB_TYPE', 'DB_NAME', 'MST_TYPE', 'MST_NAME')"));
        while (!rs->eof()) {
            const Value v = rs->Fields(1);
            out.insert(rs->Fields(0).displayText().toUpper(), v.isNull() ? QString() : v.displayText().trimmed());
            rs->MoveNext();
        }
    } catch (const HbError &e) {
        throw HbError(e.number(), failure(databaseLabel(Schema::Settings), iniPath,
                                          QStringLiteral("を読めません。%1").arg(e.description())));
    }
    return out;
}

}  // namespace

// loadSchema, adding the tables made to *made.
static void loadSchema(DbObject &db, Schema which, QStringList *made);

QStringList schemaTables(Schema which)
{
    QStringList tables;
    for (const QString &s : sqlStatements(schemaResource(which))) {
        const QString t = createdTable(s);
        if (!t.isEmpty())
            tables << t;
    }
    return tables;
}

void loadSchema(DbObject &db, Schema which)
{
    loadSchema(db, which, nullptr);
}

static void loadSchema(DbObject &db, Schema which, QStringList *made)
{
    const QStringList tables = sqlStatements(schemaResource(which));
    const QStringList rows =
        which == Schema::Work ? sqlStatements(QStringLiteral(":/db/work_data.sql")) : QStringList();
    if (db.kind() == DbKind::Server) {
        execAll(db, tables, made);  // each CREATE commits by itself on a server
        TransactionScope scope(db);
        execAll(db, rows);
        scope.commit();
        return;
    }
    TransactionScope scope(db);
    execAll(db, tables);
    execAll(db, rows);
    scope.commit();
}

void requireTables(DbObject &db, Schema which)
{
    QStringList present;
    for (const QString &t : db.connection().tables())
        present << t.toUpper();
    const QStringList wanted = schemaTables(which);
    QStringList missing;
    for (const QString &t : wanted) {
        if (!present.contains(t.toUpper()))
            missing << t;
    }
    if (missing.isEmpty())
        return;
    if (missing.size() < wanted.size() || db.kind() != DbKind::Server)
        throw HbError(kErrDatabase, DbObject::tableMissingText(missing.first()));
    // Each CREATE commits by itself on a server: what a failure leaves behind is undone by hand.
    QStringList made;
    try {
        loadSchema(db, which, &made);
        WriteLog(QStringLiteral("%1の表を作成しました: %2").arg(databaseLabel(which), db.whereText()));
    } catch (const HbError &) {
        for (auto t = made.crbegin(); t != made.crend(); ++t) {
            try {
                db.EXEC(QStringLiteral("DROP TABLE ") + *t);
            } catch (const HbError &e) {
                WriteLog(QStringLiteral("表 %1 を削除できません: %2").arg(*t, e.description()));
            }
        }
        throw;
    }
}

QStringList addMissingIndexes(DbObject &db, Schema which)
{
    static const QRegularExpression re(QStringLiteral("^CREATE\\s+INDEX\\s+(\\w+)\\s+ON\\s+(\\w+)"),
                                       QRegularExpression::CaseInsensitiveOption);
    struct Index {
        QString name, table, statement;
    };
    std::vector<Index> wanted;
    for (const QString &s : sqlStatements(schemaResource(which))) {
        const auto m = re.match(s);
        if (m.hasMatch())
            wanted.push_back({m.captured(1).toUpper(), m.captured(2), s});
    }
    const bool server = db.kind() == DbKind::Server;
    if (which == Schema::Data)
        wanted.push_back({QLatin1String(kRestIndex), QStringLiteral("D_CHEMI"),
                          server ? QLatin1String(kRestIndexOnServer)
                                 : QStringLiteral("CREATE INDEX IX_D_CHEMI_REST ON D_CHEMI (CHEMI_ID) WHERE ")
                                       + QLatin1String(kRestOffOnFile)});
    QStringList created;
    if (wanted.empty())
        return created;
    try {
        const QSet<QString> present = db.indexNames();
        // A table in use by another computer holds the index back: wait a few seconds, not
        // the server's default of a day (a file waits its busy time-out).
        Value oldWait;
        for (const Index &i : wanted) {
            if (present.contains(i.name))
                continue;
            if (server && oldWait.isEmpty()) {
                auto wait = db.GetFwdOnlyRst(QStringLiteral("SELECT @@SESSION.lock_wait_timeout"));
                oldWait = wait->eof() ? Value::null() : wait->Fields(0);
                db.EXEC(QStringLiteral("SET SESSION lock_wait_timeout = 5"));
            }
            try {
                db.EXEC(i.statement);
                created << i.name;
            } catch (const HbError &e) {
                WriteLog(QStringLiteral("索引 %1 (%2) を作成できません: %3").arg(i.name, i.table, e.description()));
                break;
            }
        }
        if (!oldWait.isEmpty() && !oldWait.isNull())
            db.EXEC(QStringLiteral("SET SESSION lock_wait_timeout = ") + QString::number(oldWait.toLong()));
    } catch (const HbError &e) {
        WriteLog(QStringLiteral("索引を確認できません: %1").arg(e.description()));
    }
    return created;
}

QString restToFixCondition(DbObject &db)
{
    if (db.kind() != DbKind::Server)
        return QLatin1String(kRestOffOnFile);
    if (db.indexNames().contains(QLatin1String(kRestIndex)))
        return QStringLiteral("REST_OFF=1");
    return QStringLiteral("REST_QTY IS NULL OR PUR_QTY IS NULL OR USED_QTY IS NULL OR REST_QTY<>PUR_QTY-USED_QTY");
}

QStringList createMissingDatabases(const QString &programFolder)
{
    const QString folder = QFileInfo(programFolder).absoluteFilePath();
    const QString iniPath = QDir::cleanPath(folder + QStringLiteral("/../ini/INFO.MDB"));
    const QString workPath = QDir::cleanPath(folder + QStringLiteral("/../work/WORK.MDB"));
    const bool haveIni = QFileInfo::exists(iniPath);
    const bool haveWork = QFileInfo::exists(workPath);

    // Check what exists before anything is created: a broken file ends the start as it is.
    if (haveIni)
        requireDatabase(iniPath, Schema::Settings);
    if (haveWork)
        requireDatabase(workPath, Schema::Work);

    QStringList created;
    if (!haveIni && createDatabaseFile(iniPath, Schema::Settings))
        created << iniPath;
    if (!haveWork && createDatabaseFile(workPath, Schema::Work))
        created << workPath;

    struct DefaultFile {
        const char *typeKey;
        const char *nameKey;
        const char *name;
        Schema schema;
    };
    static const DefaultFile defaults[] = {
        {"DB_TYPE", "DB_NAME", "../data/DATA.MDB", Schema::Data},
        {"MST_TYPE", "MST_NAME", "../data/MASTER.MDB", Schema::Master},
    };
    // Only a first start (the settings were made just now) makes the default data and master
    // files: a file lost later is asked about, not silently replaced by an empty one.
    if (haveIni)
        return created;
    const QHash<QString, QString> settings = fileSettings(iniPath);
    for (const DefaultFile &d : defaults) {
        if (settings.value(QLatin1String(d.typeKey)) != QLatin1String("2"))
            continue;
        const QString path = QDir::cleanPath(folder + QLatin1Char('/') + QLatin1String(d.name));
        if (storedNamePath(folder, settings.value(QLatin1String(d.nameKey))) != path || QFileInfo::exists(path))
            continue;
        if (createDatabaseFile(path, d.schema))
            created << path;
    }
    return created;
}

}  // namespace hb
