#include "core/dbobject.h"

#include "core/databases.h"

#include "core/log.h"
#include "core/textlimit.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlField>
#include <QSqlIndex>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QSqlResult>
#include <mysql.h>
#include <sqlite3.h>
#include <cerrno>
#include <exception>
#include <sql.h>
#include <odbcinst.h>

namespace hb {

std::function<void(const QString &)> DbObject::composedStatementHook;
std::function<void(const DbObject &, const QString &)> DbObject::statementStartHook;
std::function<void(const QString &)> DbObject::statementDoneHook;
std::function<QString()> DbObject::programSqliteSourceId;

namespace {
long gFailedStatements = 0;
long gWritingStatements = 0;

// Counts a statement that leaves by an error, whatever raised it (the connection, the
// translator, the length check, the database or a hook).
class FailureCount {
public:
    FailureCount() : raised_(std::uncaught_exceptions()) {}
    ~FailureCount()
    {
        if (std::uncaught_exceptions() > raised_)
            ++gFailedStatements;
    }
    FailureCount(const FailureCount &) = delete;
    FailureCount &operator=(const FailureCount &) = delete;

private:
    int raised_;
};
}  // namespace

long DbObject::failedStatements()
{
    return gFailedStatements;
}

long DbObject::writingStatements()
{
    return gWritingStatements;
}

DbObject::ToleratedFailures::ToleratedFailures() : before_(gFailedStatements) {}

DbObject::ToleratedFailures::~ToleratedFailures()
{
    gFailedStatements = before_;
}

namespace {

// Client and server errors that mean the connection to the server is gone.
bool isLostConnection(int code)
{
    switch (code) {
    case 1053:  // the server is shutting down
    case 1927:  // the connection was killed
    case 2002:
    case 2003:  // cannot connect
    case 2006:  // the server has gone away
    case 2013:  // lost connection during a query
    case 2055:  // lost connection, with a system error
        return true;
    default:
        return false;
    }
}

QString newConnectionName()
{
    static int counter = 0;
    return QStringLiteral("hb_conn_%1").arg(++counter);
}

void dropConnection(const QString &name)
{
    QSqlDatabase::database(name, false).close();
    QSqlDatabase::removeDatabase(name);
}

// What a statement binds for a value, reads and writes alike on both kinds of database: a
// number as a number, a date as its stored text, a null text (as every other missing value)
// as NULL, which is how Qt's drivers bind it.
QVariant boundValue(const Value &v)
{
    QVariant b = v.toVariant();
    if (b.typeId() == QMetaType::QString && static_cast<const QString *>(b.constData())->isNull())
        return QVariant();
    return b;
}

// Every data-access object alive, so that one that finds the server gone can have the others
// check their own connection.
std::vector<DbObject *> &liveObjects()
{
    // Never destroyed: an object released by a static destructor still finds the list.
    static auto *objects = new std::vector<DbObject *>;
    return *objects;
}

// Plain: an expression or a column of another type; Text: a text column, read as it is stored.
enum class ColKind { Plain, Text, Date, Currency };

ColKind kindFromDeclType(const char *decl)
{
    if (!decl)
        return ColKind::Plain;
    const QByteArray d = QByteArray(decl).toUpper();
    if (d.contains("DATE") || d.contains("TIME"))
        return ColKind::Date;
    if (d.contains("DECIMAL") || d.contains("NUMERIC") || d.contains("MONEY") || d.contains("CURRENCY"))
        return ColKind::Currency;
    if (d.contains("CHAR") || d.contains("TEXT") || d.contains("CLOB"))
        return ColKind::Text;
    return ColKind::Plain;
}

// MySQL field types that carry dates or exact decimals, and text columns of a table: by the
// field's type, its decimals and whether it comes from a table.
ColKind kindFromMysqlType(int type, int decimals, bool ofTable)
{
    switch (type) {
    case MYSQL_TYPE_DECIMAL:
    case MYSQL_TYPE_NEWDECIMAL:
        // Money has four decimals; a quotient computed with more is kept as a real number.
        return decimals > 4 ? ColKind::Plain : ColKind::Currency;
    case MYSQL_TYPE_TIMESTAMP:
    case MYSQL_TYPE_DATE:
    case MYSQL_TYPE_DATETIME:
        return ColKind::Date;
    case MYSQL_TYPE_VARCHAR:
    case MYSQL_TYPE_TINY_BLOB:
    case MYSQL_TYPE_MEDIUM_BLOB:
    case MYSQL_TYPE_LONG_BLOB:
    case MYSQL_TYPE_BLOB:
    case MYSQL_TYPE_VAR_STRING:
    case MYSQL_TYPE_STRING:
        return ofTable ? ColKind::Text : ColKind::Plain;
    default:
        return ColKind::Plain;
    }
}

ColKind kindFromMysqlField(const QSqlField &field)
{
    return kindFromMysqlType(field.typeID(), field.precision(), !field.tableName().isEmpty());
}

// A server's cell from the text the server sent, as Qt's driver gives it: whole numbers, real
// numbers (decimals too; Null when the text is none), dates, and text for the rest.
Value serverCell(const MYSQL_FIELD &field, const char *cell, unsigned long length)
{
    if (!cell)
        return Value::null();
    const QByteArray bytes = QByteArray::fromRawData(cell, static_cast<qsizetype>(length));
    const bool isUnsigned = field.flags & UNSIGNED_FLAG;
    switch (field.type) {
    case MYSQL_TYPE_TINY:
    case MYSQL_TYPE_SHORT:
    case MYSQL_TYPE_LONG:
    case MYSQL_TYPE_INT24:
    case MYSQL_TYPE_YEAR:
        return isUnsigned ? Value(static_cast<long long>(bytes.toUInt())) : Value(bytes.toInt());
    case MYSQL_TYPE_BIT:
    case MYSQL_TYPE_LONGLONG:
        return isUnsigned ? Value(static_cast<long long>(bytes.toULongLong())) : Value(bytes.toLongLong());
    case MYSQL_TYPE_FLOAT:
    case MYSQL_TYPE_DOUBLE:
    case MYSQL_TYPE_DECIMAL:
    case MYSQL_TYPE_NEWDECIMAL: {
        bool ok = false;
        const double d = bytes.toDouble(&ok);
        return ok ? Value(d) : Value::null();
    }
    case MYSQL_TYPE_DATE:
        return Value(QDate::fromString(QString::fromLatin1(bytes), Qt::ISODate));
    case MYSQL_TYPE_DATETIME:
    case MYSQL_TYPE_TIMESTAMP: {
        const QString text = QString::fromLatin1(bytes);
        if (QDateTime dt; parseCanonicalDate(text, &dt))
            return Value(dt);
        return Value(QDateTime::fromString(text, Qt::ISODate));
    }
    default:
        return Value(QString::fromUtf8(bytes));
    }
}

Value normalise(Value v, ColKind kind)
{
    if (v.isNull())
        return v;
    switch (kind) {
    case ColKind::Date:
        if (v.isString()) {
            QDateTime dt;
            if (parseDateText(v.displayText(), &dt))
                return Value(dt);
        }
        return v;
    case ColKind::Currency:
        if (v.isNumber() || (v.isString() && IsNumeric(v)))
            return Value(v.toCurrency());
        return v;
    case ColKind::Text:
        return v;
    case ColKind::Plain:
        // An expression over a date column (MAX(WORK_DATE)) comes back as its stored text.
        if (QDateTime dt; v.isString() && parseCanonicalDate(v.displayText(), &dt))
            return Value(dt);
        return v;
    }
    return v;
}

QString odbcValue(const QString &dsn, const char *key)
{
    char buf[512] = {0};
    const QByteArray d = dsn.toLocal8Bit();
    SQLGetPrivateProfileString(d.constData(), key, "", buf, sizeof(buf), "odbc.ini");
    return QString::fromLocal8Bit(buf);
}

// A data source is configured when its section in odbc.ini holds at least one entry.
bool dataSourceConfigured(const QString &dsn)
{
    char buf[1024] = {0};
    const QByteArray d = dsn.toLocal8Bit();
    return SQLGetPrivateProfileString(d.constData(), nullptr, "", buf, sizeof(buf), "odbc.ini") > 0 && buf[0] != 0;
}

QString firstOf(const QString &dsn, std::initializer_list<const char *> keys)
{
    for (const char *k : keys) {
        const QString v = odbcValue(dsn, k);
        if (!v.isEmpty())
            return v;
    }
    return QString();
}

}  // namespace

ResolvedServer resolveServer(const ServerParams &p)
{
    ResolvedServer r;
    if (!p.dsn.isEmpty()) {
        r.host = firstOf(p.dsn, {"Server", "SERVER", "server"});
        const QString port = firstOf(p.dsn, {"Port", "PORT", "port"});
        if (!port.isEmpty())
            r.port = port.toInt();
        r.database = firstOf(p.dsn, {"Database", "DATABASE", "DB", "database"});
        r.user = firstOf(p.dsn, {"User", "USER", "UID", "user"});
        r.password = firstOf(p.dsn, {"Password", "PASSWORD", "PWD", "password"});
    }
    if (!p.server.isEmpty())
        r.host = p.server;
    if (!p.database.isEmpty())
        r.database = p.database;
    if (!p.user.isEmpty())
        r.user = p.user;
    if (!p.password.isEmpty())
        r.password = p.password;
    // "localhost" would mean the default socket: the server is reached over TCP.
    if (r.host.isEmpty() || r.host.compare(QLatin1String("localhost"), Qt::CaseInsensitive) == 0)
        r.host = QStringLiteral("127.0.0.1");
    return r;
}

// ---------------------------------------------------------------- data-access object

DbObject::DbObject() : connName_(newConnectionName())
{
    liveObjects().push_back(this);
}

DbObject::~DbObject()
{
    std::erase(liveObjects(), this);
    try {
        CloseCnn();
    } catch (...) {
    }
}

QString DbObject::DBTYPE() const
{
    switch (kind_) {
    case DbKind::File:
        return QStringLiteral("ACCESS");
    case DbKind::Server:
        return QStringLiteral("MYSQL");
    case DbKind::None:
        break;
    }
    return QString();
}

bool DbObject::isOpen() const
{
    return lost_ || (QSqlDatabase::contains(connName_) && QSqlDatabase::database(connName_, false).isOpen());
}

QSqlDatabase DbObject::connection() const
{
    return QSqlDatabase::database(connName_, false);
}

void DbObject::requireOpen() const
{
    if (!isOpen())
        throw HbError(kErrNoConnection, QStringLiteral("オブジェクトが閉じている場合は、操作は許可されません。"));
}

void DbObject::openFile(const QString &path, bool mayCreate)
{
    CloseCnn();
    kind_ = DbKind::File;
    if (path.isEmpty() || (!mayCreate && !QFileInfo(path).isFile()))
        throw HbError(kErrDatabase, fileMissingText(QDir::toNativeSeparators(path)));
    file_ = connectFile(connName_, path);
}

DbObject::FileConnection DbObject::connectFile(const QString &name, const QString &path)
{
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
    db.setDatabaseName(path);
    db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=5000"));
    if (!db.open()) {
        const QSqlError err = db.lastError();
        db = QSqlDatabase();
        QSqlDatabase::removeDatabase(name);
        WriteLog(QStringLiteral("%1 [OPEN %2]").arg(err.text(), path));
        throw HbError(kErrDatabase, QStringLiteral("データベース '%1' を開けません。").arg(path));
    }
    // A file that is no database fails on its first read: find out now, and which SQLite the
    // driver reads it with.
    QSqlQuery q(db);
    if (!q.exec(QStringLiteral("SELECT COUNT(*), sqlite_source_id() FROM sqlite_master")) || !q.next()) {
        const QSqlError err = q.lastError();
        q = QSqlQuery();
        db = QSqlDatabase();
        dropConnection(name);
        WriteLog(QStringLiteral("%1 [OPEN %2]").arg(err.text(), path));
        // SQLite's "file is not a database" (26) says why; other failures (locked, unreadable) stay general.
        if (err.nativeErrorCode() == QLatin1String("26"))
            throw HbError(kErrDatabase, notDatabaseText(QDir::toNativeSeparators(path)));
        throw HbError(kErrDatabase, QStringLiteral("データベース '%1' を開けません。").arg(path));
    }
    FileConnection c;
    c.ownSqlite = q.value(1).toString() ==
                  (programSqliteSourceId ? programSqliteSourceId() : QString::fromLatin1(sqlite3_sourceid()));
    // Another SQLite's handle is not for this one's calls: the file's mode tells instead.
    const QVariant h = db.driver()->handle();
    if (c.ownSqlite && qstrcmp(h.typeName(), "sqlite3*") == 0)
        c.readOnly = sqlite3_db_readonly(*static_cast<sqlite3 *const *>(h.constData()), "main") == 1;
    else
        c.readOnly = !QFileInfo(path).isWritable();
    return c;
}

// SQLite keeps a connection that opened its file for reading only so until it is closed, even
// once the file may be written (a folder made writable again): such a connection is replaced by
// a new one, where that one can write, before a write.
void DbObject::reopenIfReadOnly()
{
    if (kind_ != DbKind::File || inTransaction_ || !file_.readOnly)
        return;
    const QString name = newConnectionName();
    FileConnection fresh;
    try {
        fresh = connectFile(name, connection().databaseName());
    } catch (const HbError &) {
        return;  // the write goes on the connection there is and fails as it would
    }
    if (fresh.readOnly) {
        dropConnection(name);
        return;
    }
    dropConnection(connName_);
    connName_ = name;
    file_ = fresh;
}

void DbObject::openServer(const ServerParams &params)
{
    CloseCnn();
    kind_ = DbKind::Server;
    server_ = params;
    // A named data source must be configured: its server, port and database come from there.
    if (!params.dsn.isEmpty() && !dataSourceConfigured(params.dsn))
        throw HbError(kErrNoConnection, dataSourceMissingText(params.dsn));
    connectServer();
}

// Opens the server connection and sets its session up; every set-up statement is checked.
// Waits are bounded: 5 s to connect, 30 s for a read or a write, 10 s for a locked row.
void DbObject::connectServer()
{
    directServer_ = nullptr;
    const ResolvedServer r = resolveServer(server_);
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QMYSQL"), connName_);
    db.setHostName(r.host);
    db.setPort(r.port);
    db.setDatabaseName(r.database);
    db.setUserName(r.user);
    db.setPassword(r.password);
    // Rows matched, not rows changed: an update that rewrites the same values still finds its row.
    // The client's own reconnect stays off: it would drop an open transaction silently.
    db.setConnectOptions(QStringLiteral(
        "MYSQL_OPT_CONNECT_TIMEOUT=5;MYSQL_OPT_READ_TIMEOUT=30;MYSQL_OPT_WRITE_TIMEOUT=30;CLIENT_FOUND_ROWS"));
    const auto drop = [this, &db] {
        db.close();
        db = QSqlDatabase();
        QSqlDatabase::removeDatabase(connName_);
    };
    if (!db.open()) {
        const QSqlError err = db.lastError();
        HbError e = failure(err, QStringLiteral("CONNECT"));
        // Why no connection came about, as the person who set it up can act on it.
        switch (err.nativeErrorCode().toInt()) {
        case 2002:
        case 2003:  // nothing answers at the host and port
        case 2005:  // unknown host
            e = HbError(e.number(), serverUnreachableText(QStringLiteral("%1:%2").arg(r.host).arg(r.port)));
            break;
        case 1044:  // a database the user may not use (or that is missing: the server does not say)
            e = HbError(e.number(), databaseDeniedText(r.database));
            break;
        case 1045:  // wrong user or password
        case 1698:
            e = HbError(e.number(), accessDeniedText(r.user));
            break;
        case 1049:  // unknown database
        case 1102:  // a name that cannot be a database's
            e = HbError(e.number(), databaseMissingText(r.database));
            break;
        default:
            break;
        }
        drop();
        lost_ = false;
        throw e;
    }
    lost_ = false;
    suspect_ = false;
    inTransaction_ = false;
    try {
        checkSession();
    } catch (const HbError &) {
        drop();
        throw;
    }
}

// The session means what the file kind means: a backslash inside quotes is itself, an
// over-long text is refused, a division keeps its decimals.
void DbObject::checkSession()
{
    static const char *const setUp[] = {
        "SET NAMES utf8mb4",
        "SET SESSION sql_mode = CONCAT_WS(',', NULLIF(@@SESSION.sql_mode, ''), 'STRICT_TRANS_TABLES', "
        "'NO_BACKSLASH_ESCAPES')",
        "SET SESSION innodb_lock_wait_timeout = 10",
        "SET SESSION div_precision_increment = 30",
    };
    QSqlQuery q(connection());
    for (const char *statement : setUp) {
        if (!q.exec(QString::fromLatin1(statement)))
            throw failure(q.lastError(), QString::fromLatin1(statement));
    }
    const QString check = QStringLiteral(
        "SELECT @@SESSION.sql_mode, @@SESSION.innodb_lock_wait_timeout, @@SESSION.div_precision_increment, "
        "@@SESSION.character_set_connection, CONNECTION_ID()");
    if (!q.exec(check) || !q.next())
        throw failure(q.lastError(), check);
    const QStringList mode = q.value(0).toString().split(QLatin1Char(','));
    if (!mode.contains(QLatin1String("STRICT_TRANS_TABLES")) || !mode.contains(QLatin1String("NO_BACKSLASH_ESCAPES")) ||
        q.value(1).toInt() != 10 || q.value(2).toInt() != 30 || q.value(3).toString() != QLatin1String("utf8mb4")) {
        const QString raw = QStringLiteral("session set-up not in force: %1 / %2 / %3 / %4")
                                .arg(q.value(0).toString(), q.value(1).toString(), q.value(2).toString(),
                                     q.value(3).toString());
        WriteLog(raw);
        throw HbError(kErrDatabase, otherFailureText(raw));
    }
    // The rows are read through the program's MariaDB client on the driver's connection only
    // where that client is the driver's own: it finds the connection the server names.
    directServer_ = nullptr;
    const QVariant handle = connection().driver()->handle();
    if (handle.isValid() && (qstrcmp(handle.typeName(), "MYSQL*") == 0 || qstrcmp(handle.typeName(), "st_mysql*") == 0)) {
        MYSQL *m = *static_cast<MYSQL *const *>(handle.constData());
        if (m && q.value(4).toULongLong() == mysql_thread_id(m))
            directServer_ = m;
    }
}

void DbObject::ensureLive()
{
    requireOpen();
    if (suspect_ && !lost_) {
        // Another object found the server gone: this connection is tried before its statement,
        // so that a restart of the server costs one message, not one per connection.
        suspect_ = false;
        QSqlQuery probe(connection());
        if (!probe.exec(QStringLiteral("SELECT 1"))) {
            const bool held = inTransaction_;
            // The others were told when the server was first found gone: a probe that fails
            // tells nobody again, so that no connection is left marked for a later restart.
            const HbError e = failure(probe.lastError(), QStringLiteral("SELECT 1"), TellOthers::No);
            // What this connection's open transaction held is gone with it: that fails.
            if (lost_ && held)
                throw e;
        }
    }
    if (!lost_)
        return;
    dropConnection(connName_);
    forgetTables();
    try {
        connectServer();
    } catch (const HbError &) {
        lost_ = true;  // still counts as open: the next statement tries again
        throw HbError(kErrServerGone, lostServerText());
    }
}

QString DbObject::readOnlyText(const QString &where)
{
    return QStringLiteral("データベースに書き込めません（読み取り専用）：") + where;
}

QString DbObject::diskFullText(const QString &where)
{
    return QStringLiteral("ディスクの空き容量が足りません：") + where;
}

QString DbObject::lostServerText()
{
    return QStringLiteral("データベースサーバーとの接続が切れました。もう一度実行してください。");
}

QString DbObject::tooLongText(const QString &column)
{
    return QStringLiteral("文字数が多すぎます：") + column;
}

QString DbObject::lockedText()
{
    return QStringLiteral("ほかのコンピュータが使用中です。しばらくしてからもう一度実行してください。");
}

QString DbObject::otherFailureText(const QString &raw)
{
    return QStringLiteral("データベースのエラーです：") + raw;
}

QString DbObject::fileMissingText(const QString &file)
{
    if (file.isEmpty())
        return QStringLiteral("データベースファイルの名前が設定されていません。");
    return QStringLiteral("データベースファイルが見つかりません：") + file;
}

QString DbObject::dataSourceMissingText(const QString &dsn)
{
    return QStringLiteral("ODBCの設定（odbc.ini）にデータソースがありません：") + dsn;
}

QString DbObject::serverUnreachableText(const QString &where)
{
    return QStringLiteral("データベースサーバーに接続できません：") + where;
}

QString DbObject::accessDeniedText(const QString &user)
{
    return QStringLiteral("データベースサーバーへのアクセスが拒否されました（ユーザー・パスワード・権限）：") + user;
}

QString DbObject::databaseMissingText(const QString &database)
{
    return QStringLiteral("データベースがサーバーにありません：") + database;
}

QString DbObject::databaseDeniedText(const QString &database)
{
    return QStringLiteral("データベースがサーバーにないか、使う権限がありません：") + database;
}

QString DbObject::notDatabaseText(const QString &file)
{
    return QStringLiteral("データベースのファイルではありません：") + file;
}

QString DbObject::tableMissingText(const QString &table)
{
    return QStringLiteral("データベースに表がありません：") + table;
}

QString DbObject::noKindText()
{
    return QStringLiteral("接続の種類が設定されていません。");
}

QString DbObject::whereText() const
{
    if (kind_ == DbKind::Server) {
        const ResolvedServer r = resolveServer(server_);
        return QStringLiteral("%1 (%2:%3)").arg(r.database, r.host).arg(r.port);
    }
    return QDir::toNativeSeparators(QSqlDatabase::database(connName_, false).databaseName());
}

HbError DbObject::failure(const QSqlError &err, const QString &sql, TellOthers tell)
{
    const QString raw = err.databaseText().isEmpty() ? err.text() : err.databaseText();
    WriteLog(QStringLiteral("%1 (%2) [%3]").arg(raw, err.nativeErrorCode(), sql));
    bool ok = false;
    int code = err.nativeErrorCode().toInt(&ok);
    if (!ok)
        code = 0;
    const int number = code != 0 ? code : kErrDatabase;
    if (kind_ == DbKind::Server) {
        if (isLostConnection(code)) {
            lost_ = true;
            inTransaction_ = false;
            for (DbObject *other : liveObjects()) {
                if (tell == TellOthers::Yes && other != this && other->kind_ == DbKind::Server && !other->lost_)
                    other->suspect_ = true;
            }
            return HbError(number, lostServerText());
        }
        static const QRegularExpression columnRe(QStringLiteral("column '([^']+)'"));
        switch (code) {
        case 1205:  // lock wait timeout
        case 1213:  // deadlock
            return HbError(number, lockedText());
        case 1406:  // data too long
            return HbError(number, tooLongText(columnRe.match(raw).captured(1)));
        case 1021:  // disk full
        case 1114:  // table full
            return HbError(number, diskFullText(whereText()));
        case 1036:  // table read only
        case 1290:  // server read only
            return HbError(number, readOnlyText(whereText()));
        default: {
            // The server quotes the statement from the place it stumbled on: not for the message.
            QString shown = raw;
            const int near = shown.indexOf(QLatin1String(" near '"));
            if (near > 0)
                shown.truncate(near);
            return HbError(number, otherFailureText(shown));
        }
        }
    }
    if (kind_ == DbKind::File) {
        int extended = code;
        int sysErrno = 0;
        if (sqlite3 *handle = fileHandle()) {
            if ((sqlite3_extended_errcode(handle) & 0xff) == (code & 0xff) || code == 0)
                extended = sqlite3_extended_errcode(handle);
            sysErrno = sqlite3_system_errno(handle);
        }
        static const QRegularExpression checkRe(QStringLiteral("length\\((\\w+)\\)"));
        switch (extended & 0xff) {
        case SQLITE_READONLY:
            return HbError(number, readOnlyText(whereText()));
        case SQLITE_FULL:
            return HbError(number, diskFullText(whereText()));
        case SQLITE_IOERR:
            if (sysErrno == ENOSPC || sysErrno == EFBIG)
                return HbError(number, diskFullText(whereText()));
            break;
        case SQLITE_BUSY:
        case SQLITE_LOCKED:
            return HbError(number, lockedText());
        case SQLITE_CONSTRAINT:
            if (const auto m = checkRe.match(raw); m.hasMatch() && raw.contains(QLatin1String("CHECK")))
                return HbError(number, tooLongText(m.captured(1)));
            break;
        default:
            break;
        }
    }
    return HbError(number, otherFailureText(raw));
}

void DbObject::forgetTables()
{
    declared_.clear();
    columns_.clear();
    keys_.clear();
    indexes_.reset();
}

void DbObject::CloseCnn()
{
    directServer_ = nullptr;
    forgetTables();
    lost_ = false;
    suspect_ = false;
    file_ = FileConnection();
    if (!QSqlDatabase::contains(connName_))
        return;
    {
        QSqlDatabase db = QSqlDatabase::database(connName_, false);
        if (db.isOpen() && inTransaction_)
            db.rollback();
        db.close();
    }
    QSqlDatabase::removeDatabase(connName_);
    inTransaction_ = false;
}

void DbObject::Begintrans()
{
    ensureLive();
    if (inTransaction_)
        throw HbError(kErrInTransaction, QStringLiteral("トランザクションは既に開始されています。"));
    reopenIfReadOnly();
    if (statementStartHook)
        statementStartHook(*this, QStringLiteral("BEGIN"));
    QSqlDatabase db = connection();
    if (!db.transaction())
        throw failure(db.lastError(), QStringLiteral("BEGIN"));
    inTransaction_ = true;
    if (statementDoneHook)
        statementDoneHook(QStringLiteral("BEGIN"));
}

void DbObject::CommitTrans()
{
    requireOpen();
    if (!inTransaction_)
        throw HbError(kErrNoTransaction, QStringLiteral("トランザクションが開始されていません。"));
    QSqlDatabase db = connection();
    if (statementStartHook) {
        try {
            statementStartHook(*this, QStringLiteral("COMMIT"));
        } catch (...) {
            // A commit that fails ends the transaction as a failed commit does.
            db.rollback();
            inTransaction_ = false;
            throw;
        }
    }
    if (!db.commit()) {
        const HbError e = failure(db.lastError(), QStringLiteral("COMMIT"));
        if (!lost_)
            db.rollback();
        inTransaction_ = false;
        throw e;
    }
    inTransaction_ = false;
    if (statementDoneHook)
        statementDoneHook(QStringLiteral("COMMIT"));
}

void DbObject::RollbackTrans()
{
    requireOpen();
    if (!inTransaction_)
        throw HbError(kErrNoTransaction, QStringLiteral("トランザクションが開始されていません。"));
    inTransaction_ = false;
    QSqlDatabase db = connection();
    if (!db.rollback())
        throw failure(db.lastError(), QStringLiteral("ROLLBACK"));
}

RecordsetPtr DbObject::OpenSchema(int schema, const Value &restriction, const Value &)
{
    requireOpen();
    // 20: tables; 4: columns of the table named by the restriction.
    auto rs = std::make_unique<Recordset>();
    rs->cursor_ = Recordset::Static;
    if (schema == 4) {
        rs->names_ = {QStringLiteral("TABLE_NAME"), QStringLiteral("COLUMN_NAME"), QStringLiteral("ORDINAL_POSITION")};
        const QString table = isBlank(restriction) ? QString() : restriction.displayText();
        const QStringList tables = table.isEmpty() ? connection().tables() : QStringList{table};
        for (const QString &t : tables) {
            const QStringList cols = tableColumns(t);
            for (int i = 0; i < cols.size(); ++i)
                rs->rows_.push_back({Value(t), Value(cols.at(i)), Value(i + 1)});
        }
    } else {
        rs->names_ = {QStringLiteral("TABLE_NAME"), QStringLiteral("TABLE_TYPE")};
        for (const QString &t : connection().tables())
            rs->rows_.push_back({Value(t), Value("TABLE")});
    }
    return rs;
}

QStringList DbObject::tableColumns(const QString &table)
{
    // A connection found lost is made anew first: what the old one knew is gone with it.
    ensureLive();
    const QString key = table.toUpper();
    if (const auto known = columns_.constFind(key); known != columns_.constEnd())
        return *known;
    QStringList cols;
    QSqlRecord rec = connection().record(table);
    // A server lists a table's invisible columns too (the mark of the pesticide rests that are
    // off): the columns are those a SELECT * returns.
    if (kind_ == DbKind::Server && !rec.isEmpty()) {
        QSqlQuery q(connection());
        if (q.exec(QStringLiteral("SELECT * FROM %1 WHERE 1=0").arg(table)))
            rec = q.record();
    }
    for (int i = 0; i < rec.count(); ++i)
        cols << rec.fieldName(i);
    // A missing table is asked for again: another computer may be making it.
    if (!cols.isEmpty())
        columns_.insert(key, cols);
    return cols;
}

QStringList DbObject::primaryKey(const QString &table)
{
    ensureLive();
    const QString key = table.toUpper();
    if (const auto known = keys_.constFind(key); known != keys_.constEnd())
        return *known;
    QStringList keys;
    const QSqlIndex idx = connection().primaryIndex(table);
    for (int i = 0; i < idx.count(); ++i)
        keys << idx.fieldName(i);
    // Kept as the columns are: a table without a key keeps its empty key, a missing one none.
    if (!tableColumns(table).isEmpty())
        keys_.insert(key, keys);
    return keys;
}

QSet<QString> DbObject::indexNames()
{
    ensureLive();
    if (!indexes_) {
        QSet<QString> names;
        auto rs = GetFwdOnlyRst(kind_ == DbKind::Server ? QStringLiteral("SELECT DISTINCT INDEX_NAME FROM information_schema.STATISTICS"
                                                                         " WHERE TABLE_SCHEMA = DATABASE()")
                                                        : QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'index'"));
        for (; !rs->eof(); rs->MoveNext())
            names.insert(rs->Fields(0).displayText().toUpper());
        rs->Close();
        indexes_ = names;
    }
    return *indexes_;
}

RecordsetPtr DbObject::GetFwdOnlyRst(const QString &sql, const std::vector<Value> &params)
{
    return openRecordset(sql, params, Recordset::ForwardOnly, true);
}

RecordsetPtr DbObject::GetStaticRst(const QString &sql, const std::vector<Value> &params)
{
    return openRecordset(sql, params, Recordset::Static, true);
}

RecordsetPtr DbObject::GetDynamicRst(const QString &sql, const std::vector<Value> &params)
{
    return openRecordset(sql, params, Recordset::Dynamic, true);
}

RecordsetPtr DbObject::openRecordset(const QString &sql, const std::vector<Value> &params, Recordset::Cursor cursor,
                                     bool log)
{
    if (log)
        WriteLog(sql);
    auto rs = std::make_unique<Recordset>();
    rs->cursor_ = cursor;
    rs->owner_ = this;
    if (kind_ == DbKind::File && file_.ownSqlite)
        readFileRows(sql, params, *rs);
    else
        readDriverRows(sql, params, *rs);
    if (cursor == Recordset::Dynamic) {
        static const QRegularExpression fromRe(QStringLiteral("\\bFROM\\s+(\\w+)"), QRegularExpression::CaseInsensitiveOption);
        static const QRegularExpression joinRe(QStringLiteral("\\bJOIN\\b|\\bGROUP\\s+BY\\b|\\bDISTINCT\\b"),
                                               QRegularExpression::CaseInsensitiveOption);
        const QString text = translateSql(sql, kind_);
        const auto m = fromRe.match(text);
        if (m.hasMatch() && !joinRe.match(text).hasMatch()) {
            rs->table_ = m.captured(1);
            rs->tableColumns_ = tableColumns(rs->table_);
            rs->keys_ = primaryKey(rs->table_);
        }
    }
    return rs;
}

void DbObject::readDriverRows(const QString &sql, const std::vector<Value> &params, Recordset &rs)
{
    if (params.empty() && readServerRowsDirect(sql, rs))
        return;
    QSqlQuery q = run(sql, params);
    const QSqlRecord rec = q.record();
    std::vector<ColKind> kinds(rec.count(), ColKind::Plain);
    for (int i = 0; i < rec.count(); ++i) {
        rs.names_ << rec.fieldName(i);
        // A file's column as its table declares it (an expression or a renamed column is plain).
        const QSqlField field = rec.field(i);
        kinds[i] = kind_ == DbKind::Server ? kindFromMysqlField(field)
                                           : kindFromDeclType(declaredType(field.tableName(), field.name()).constData());
    }
    if (q.size() > 0)
        rs.rows_.reserve(static_cast<std::size_t>(q.size()));
    while (q.next()) {
        std::vector<Value> row(rec.count());
        for (int i = 0; i < rec.count(); ++i)
            row[i] = normalise(Value::fromVariant(q.value(i)), kinds[i]);
        rs.rows_.push_back(std::move(row));
    }
    // A read that breaks off is no shorter list: it fails, and counts as a failed statement.
    if (q.lastError().isValid()) {
        FailureCount counted;
        throw failure(q.lastError(), sql);
    }
}

namespace {

struct ResultFree {
    void operator()(MYSQL_RES *r) const { mysql_free_result(r); }
};

}  // namespace

// Without the driver's variant and its conversion of each cell to a string and back, a list of
// hundreds of rows costs little more than the client's own reading of them. The text is sent
// and its rows are taken as the driver sends and takes them (all at once); each cell is what the
// driver gives.
bool DbObject::readServerRowsDirect(const QString &sql, Recordset &rs)
{
    FailureCount counted;
    ensureLive();
    MYSQL *m = directServer_;
    if (!m)
        return false;
    const QString text = startStatement(sql, {});
    const auto refused = [&](const char *why) {
        return failure(QSqlError(QString::fromLatin1(why), QString::fromUtf8(mysql_error(m)), QSqlError::StatementError,
                                 QString::number(mysql_errno(m))),
                       sql);
    };
    const QByteArray utf8 = text.toUtf8();
    if (mysql_real_query(m, utf8.constData(), static_cast<unsigned long>(utf8.size())) != 0)
        throw refused("Unable to execute query");
    {
        // A read that breaks off is no shorter list: it fails.
        const std::unique_ptr<MYSQL_RES, ResultFree> result(mysql_store_result(m));
        if (!result && mysql_field_count(m) != 0)
            throw refused("Unable to store result");
        if (result) {
            const unsigned columns = mysql_num_fields(result.get());
            const MYSQL_FIELD *fields = mysql_fetch_fields(result.get());
            std::vector<ColKind> kinds(columns);
            for (unsigned i = 0; i < columns; ++i) {
                rs.names_ << QString::fromUtf8(fields[i].name);
                kinds[i] = kindFromMysqlType(fields[i].type, static_cast<int>(fields[i].decimals),
                                             fields[i].table && *fields[i].table);
            }
            rs.rows_.reserve(static_cast<std::size_t>(mysql_num_rows(result.get())));
            while (MYSQL_ROW cells = mysql_fetch_row(result.get())) {
                const unsigned long *lengths = mysql_fetch_lengths(result.get());
                std::vector<Value> row(columns);
                for (unsigned i = 0; i < columns; ++i)
                    row[i] = normalise(serverCell(fields[i], cells[i], lengths[i]), kinds[i]);
                rs.rows_.push_back(std::move(row));
            }
        }
    }
    // Further results of the text are read and dropped, as the driver drops them.
    while (mysql_more_results(m) && mysql_next_result(m) == 0) {
        if (MYSQL_RES *more = mysql_store_result(m))
            mysql_free_result(more);
    }
    if (statementDoneHook)
        statementDoneHook(sql);
    return true;
}

namespace {

struct StatementFinalizer {
    void operator()(sqlite3_stmt *st) const { sqlite3_finalize(st); }
};

// A file's cell as the file holds it: a whole number, a real number, Null, or text (a blob's
// bytes read as UTF-8 text).
Value fileCell(sqlite3_stmt *st, int i)
{
    switch (sqlite3_column_type(st, i)) {
    case SQLITE_NULL:
        return Value::null();
    case SQLITE_INTEGER:
        return Value(static_cast<long long>(sqlite3_column_int64(st, i)));
    case SQLITE_FLOAT:
        return Value(sqlite3_column_double(st, i));
    case SQLITE_BLOB:
        return Value(QString::fromUtf8(static_cast<const char *>(sqlite3_column_blob(st, i)), sqlite3_column_bytes(st, i)));
    default:
        return Value(QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(st, i)),
                                       sqlite3_column_bytes(st, i)));
    }
}

}  // namespace

// The file's rows are read through SQLite itself on the connection's own handle: each cell as
// the file holds it, with no variant and no UTF-16 copy of every text between, so a list of
// hundreds of rows costs little more than SQLite's own reading of them. Statements are bound
// and refused as the driver binds and refuses them.
void DbObject::readFileRows(const QString &sql, const std::vector<Value> &params, Recordset &rs)
{
    FailureCount counted;
    const QString text = startStatement(sql, params);
    sqlite3 *handle = fileHandle();
    // The database's own message where it has one.
    const auto refused = [&](const QString &why, int code) {
        const QString said = code == SQLITE_MISUSE ? QString() : QString::fromUtf8(sqlite3_errmsg(handle));
        return failure(QSqlError(why, said, QSqlError::StatementError, QString::number(code)), sql);
    };
    const QByteArray utf8 = text.toUtf8();
    sqlite3_stmt *raw = nullptr;
    const char *tail = nullptr;
    int rc = handle ? sqlite3_prepare_v2(handle, utf8.constData(), static_cast<int>(utf8.size()), &raw, &tail)
                    : SQLITE_MISUSE;
    const std::unique_ptr<sqlite3_stmt, StatementFinalizer> st(raw);
    if (rc != SQLITE_OK)
        throw refused(QStringLiteral("Unable to execute statement"), rc);
    if (tail && !QByteArray(tail).trimmed().isEmpty())
        throw refused(QStringLiteral("Unable to execute multiple statements at a time"), SQLITE_MISUSE);
    if (!st)  // nothing but blanks or comments
        throw refused(QStringLiteral("No query"), SQLITE_MISUSE);
    if (sqlite3_bind_parameter_count(st.get()) != static_cast<int>(params.size()))
        throw refused(QStringLiteral("Parameter count mismatch"), SQLITE_MISUSE);
    for (int i = 0; i < static_cast<int>(params.size()); ++i) {
        const QVariant v = boundValue(params[i]);
        switch (v.typeId()) {
        case QMetaType::LongLong:
            rc = sqlite3_bind_int64(st.get(), i + 1, v.toLongLong());
            break;
        case QMetaType::Double:
            rc = sqlite3_bind_double(st.get(), i + 1, v.toDouble());
            break;
        case QMetaType::QString: {
            const QByteArray t = v.toString().toUtf8();
            rc = sqlite3_bind_text(st.get(), i + 1, t.constData(), static_cast<int>(t.size()), SQLITE_TRANSIENT);
            break;
        }
        default:
            rc = sqlite3_bind_null(st.get(), i + 1);
            break;
        }
        if (rc != SQLITE_OK)
            throw refused(QStringLiteral("Unable to bind parameters"), rc);
    }
    const int columns = sqlite3_column_count(st.get());
    std::vector<ColKind> kinds(columns);
    for (int i = 0; i < columns; ++i) {
        rs.names_ << QString::fromUtf8(sqlite3_column_name(st.get(), i)).remove(u'"');
        kinds[i] = kindFromDeclType(sqlite3_column_decltype(st.get(), i));
    }
    while ((rc = sqlite3_step(st.get())) == SQLITE_ROW) {
        std::vector<Value> row(columns);
        for (int i = 0; i < columns; ++i)
            row[i] = normalise(fileCell(st.get(), i), kinds[i]);
        rs.rows_.push_back(std::move(row));
    }
    // A read that breaks off is no shorter list: it fails.
    if (rc != SQLITE_DONE)
        throw refused(QStringLiteral("Unable to fetch row"), rc);
    if (statementDoneHook)
        statementDoneHook(sql);
}

sqlite3 *DbObject::fileHandle() const
{
    if (!file_.ownSqlite)
        return nullptr;
    const QSqlDatabase db = connection();
    const QVariant h = db.isOpen() ? db.driver()->handle() : QVariant();
    if (h.isValid() && qstrcmp(h.typeName(), "sqlite3*") == 0)
        return *static_cast<sqlite3 *const *>(h.constData());
    return nullptr;
}

QString DbObject::startStatement(const QString &sql, const std::vector<Value> &params)
{
    ensureLive();
    QString text;
    try {
        text = translateSql(sql, kind_);
    } catch (const HbError &e) {
        WriteLog(QStringLiteral("%1 [%2]").arg(e.description(), sql));
        throw;
    }
    // The server would run every statement of a text, the file none: one statement to a text.
    if (kind_ == DbKind::Server && text.contains(u';') && holdsSeveralStatements(text))
        throw failure(QSqlError(QStringLiteral("Unable to execute multiple statements at a time"), QString(),
                                QSqlError::StatementError),
                      sql);
    if (kind_ == DbKind::File && !params.empty())
        checkTextLengths(sql, params);
    // A change of a table's columns drops their known lengths and indexes; a change of rows is counted.
    static const QRegularExpression changes(QStringLiteral("^\\s*(?:(CREATE|DROP|ALTER)|INSERT|UPDATE|DELETE)\\b"),
                                            QRegularExpression::CaseInsensitiveOption);
    if (const auto m = changes.match(text); m.hasMatch()) {
        if (m.hasCaptured(1)) {
            forgetTables();
        } else {
            ++gWritingStatements;
        }
        reopenIfReadOnly();
    }
    if (statementStartHook)
        statementStartHook(*this, sql);
    return text;
}

QSqlQuery DbObject::run(const QString &sql, const std::vector<Value> &params)
{
    FailureCount counted;
    const QString text = startStatement(sql, params);
    QSqlQuery q(connection());
    q.setForwardOnly(true);
    bool ok;
    if (params.empty()) {
        ok = q.exec(text);
    } else {
        ok = q.prepare(text);
        if (ok) {
            for (const Value &v : params)
                q.addBindValue(boundValue(v));
            ok = q.exec();
        }
    }
    if (!ok)
        throw failure(q.lastError(), sql);
    if (statementDoneHook)
        statementDoneHook(sql);
    return q;
}

void DbObject::checkTextLengths(const QString &sql, const std::vector<Value> &params)
{
    QString table;
    const QStringList columns = placeholderColumns(sql, &table);
    for (int i = 0; i < columns.size() && i < static_cast<int>(params.size()); ++i) {
        if (columns.at(i).isEmpty() || !params[i].isString())
            continue;
        const int n = declaredLength(table, columns.at(i));
        if (n > 0 && characterCount(params[i].displayText()) > n) {
            WriteLog(QStringLiteral("text longer than %1 for %2.%3 [%4]").arg(n).arg(table, columns.at(i), sql));
            throw HbError(kErrDatabase, tooLongText(columns.at(i)));
        }
    }
}

// The n of a column declared VARCHAR(n) (or CHAR(n)); 0 for any other column.
int DbObject::declaredLength(const QString &table, const QString &column)
{
    static const QRegularExpression lenRe(QStringLiteral("CHAR\\s*\\(\\s*(\\d+)\\s*\\)"));
    const auto m = lenRe.match(QString::fromUtf8(declaredType(table, column)));
    return m.hasMatch() ? m.captured(1).toInt() : 0;
}

QByteArray DbObject::declaredType(const QString &table, const QString &column)
{
    if (table.isEmpty())
        return QByteArray();
    const QString t = table.toUpper();
    if (!declared_.contains(t)) {
        QHash<QString, QByteArray> cols;
        QSqlQuery q(connection());
        if (q.exec(QStringLiteral("PRAGMA table_info(%1)").arg(sqlQuote(table)))) {
            while (q.next())
                cols.insert(q.value(1).toString().toUpper(), q.value(2).toString().toUpper().toUtf8());
        }
        declared_.insert(t, cols);
    }
    return declared_.value(t).value(column.toUpper());
}

long DbObject::execTranslated(const QString &sql, const std::vector<Value> &params)
{
    return run(sql, params).numRowsAffected();
}

long DbObject::EXEC(const QString &sql, const std::vector<Value> &params)
{
    return execTranslated(sql, params);
}

// ---------------------------------------------------------------- plain objects

QString insertStatement(const QString &table, const QStringList &columns)
{
    QStringList marks;
    for (qsizetype i = 0; i < columns.size(); ++i)
        marks << QStringLiteral("?");
    return QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
        .arg(table, columns.join(QStringLiteral(", ")), marks.join(QStringLiteral(", ")));
}

std::unique_ptr<DirectDb> DirectDb::file(const QString &path, bool mayCreate)
{
    std::unique_ptr<DirectDb> db(new DirectDb());
    db->openFile(path, mayCreate);
    return db;
}

std::unique_ptr<DirectDb> DirectDb::server(const ServerParams &params)
{
    std::unique_ptr<DirectDb> db(new DirectDb());
    db->openServer(params);
    return db;
}

TransactionScope::TransactionScope(DbObject &db) : db_(db)
{
    if (!db_.inTransaction()) {
        db_.Begintrans();
        own_ = true;
    }
}

TransactionScope::~TransactionScope()
{
    if (own_ && !done_) {
        try {
            db_.RollbackTrans();
        } catch (...) {
        }
    }
}

void TransactionScope::commit()
{
    if (own_ && !done_)
        db_.CommitTrans();
    done_ = true;
}

}  // namespace hb
