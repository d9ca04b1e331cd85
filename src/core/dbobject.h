#pragma once
// The shared interface of the data-access objects: one connection, its transaction, its
// recordsets, its statements through the translator and its domain functions; a plain object
// over one file or server; and the transaction a save holds.

#include "core/recordset.h"
#include "core/sqltranslate.h"
#include "core/value.h"

#include <QHash>
#include <QSet>
#include <optional>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <vector>

struct sqlite3;
struct st_mysql;

namespace hb {

// Where a server connection goes.
struct ServerParams {
    QString dsn;
    QString server;
    QString database;
    QString user;
    QString password;
};

// Resolves the ODBC data source (odbc.ini) for host, port, database, user and password;
// the non-empty fields of the params override what the data source says.
struct ResolvedServer {
    QString host;
    int port = 3306;
    QString database;
    QString user;
    QString password;
};
ResolvedServer resolveServer(const ServerParams &params);

// The shared interface of the settings, data, master and work objects.
class DbObject {
public:
    virtual ~DbObject();
    DbObject(const DbObject &) = delete;
    DbObject &operator=(const DbObject &) = delete;

    // "ACCESS" for a database file, "MYSQL" for a server, "" when neither is set.
    QString DBTYPE() const;
    DbKind kind() const { return kind_; }
    bool isOpen() const;

    void Begintrans();
    void CommitTrans();
    void RollbackTrans();
    bool inTransaction() const { return inTransaction_; }

    RecordsetPtr OpenSchema(int schema, const Value &restriction = Value(), const Value &schemaId = Value());
    RecordsetPtr GetFwdOnlyRst(const QString &sql, const std::vector<Value> &params = {});
    RecordsetPtr GetStaticRst(const QString &sql, const std::vector<Value> &params = {});
    RecordsetPtr GetDynamicRst(const QString &sql, const std::vector<Value> &params = {});

    virtual void OpenCnn() = 0;
    void CloseCnn();

    // Executes one statement; '?' placeholders take the bound values in order.
    // Returns the number of rows affected.
    long EXEC(const QString &sql, const std::vector<Value> &params = {});
    long EXEC(const QString &sql, long *recordsAffected) { const long n = EXEC(sql); if (recordsAffected) *recordsAffected = n; return n; }

    Value DMax(const QString &fld, const QString &tbl, const QString &wcs);
    Value DMin(const QString &fld, const QString &tbl, const QString &wcs);
    Value DCount(const QString &fld, const QString &tbl, const QString &wcs);
    Value DSUM(const QString &fld, const QString &tbl, const QString &wcs);
    Value DLookup(const QString &fld, const QString &tbl, const QString &wcs);
    Value DJoin(const QString &fld, const QString &tbl, const QString &wcs);

    // The settings table of this object's database (only the settings object's copy is used).
    bool SaveCtrl(const QString &key, const Value &value, long ctrlType = 0);
    Value GetCtrl(const QString &key);
    // Frees this computer's holds in a table: 0 when the statement ran, -256 when it failed.
    long ReleaseData(const QString &table, const QString &wcs);

    // Column names of a table in their order, as SELECT * returns them, and the columns of its
    // primary key (both empty when the table does not exist): looked up once, and again after a
    // statement that creates, drops or alters something, or a new connection.
    QStringList tableColumns(const QString &table);
    QStringList primaryKey(const QString &table);
    // Names of the database's indexes, in upper case: looked up once, and again after a statement
    // that creates, drops or alters something, or a new connection.
    QSet<QString> indexNames();
    QSqlDatabase connection() const;

    // Sees every domain-function statement as composed, before translation (tests use it).
    static std::function<void(const QString &)> composedStatementHook;
    // Called before every statement (BEGIN and COMMIT included) with the object and the text; an
    // error it raises fails that statement as the database would (the drills fail a save's
    // statements one by one with it).
    static std::function<void(const DbObject &, const QString &)> statementStartHook;
    // Called after every statement that ran (BEGIN and COMMIT included), with its text
    // (the drills use it to stop a save between two statements).
    static std::function<void(const QString &)> statementDoneHook;
    // The source id of the SQLite the program reads a file's rows with, compared once per
    // connection with the one the driver runs: where they differ the rows are read through the
    // driver. Unset, it is the program's own library's (tests give another).
    static std::function<QString()> programSqliteSourceId;
    // How many statements have failed since the program started, on any object. It rises by one
    // for every statement that left by an error, whatever raised it (the connection, the
    // translator, the length check, the database, a test's hook), reads and writes alike, and
    // never falls except at the end of a ToleratedFailures scope, which takes back the failures
    // within it. A window compares it before and after its load to learn that something it
    // needed was not read.
    static long failedStatements();
    // How many statements that change rows (INSERT, UPDATE, DELETE) were started since the
    // program started, on any object, whether they succeeded or not.
    static long writingStatements();
    // Within its scope a failed statement is not counted: a read whose failure its caller
    // handles and that nothing is saved from (a caption's label).
    class ToleratedFailures {
    public:
        ToleratedFailures();
        ~ToleratedFailures();
        ToleratedFailures(const ToleratedFailures &) = delete;
        ToleratedFailures &operator=(const ToleratedFailures &) = delete;

    private:
        long before_;
    };

    // The decided descriptions of the usual causes of a failure.
    static QString readOnlyText(const QString &where);
    static QString diskFullText(const QString &where);
    static QString lostServerText();
    static QString tooLongText(const QString &column);
    static QString lockedText();
    static QString otherFailureText(const QString &raw);
    // The causes of a connection that cannot be made.
    static QString fileMissingText(const QString &file);
    static QString dataSourceMissingText(const QString &dsn);
    static QString serverUnreachableText(const QString &where);
    static QString accessDeniedText(const QString &user);
    static QString databaseMissingText(const QString &database);
    static QString databaseDeniedText(const QString &database);
    static QString notDatabaseText(const QString &file);
    static QString tableMissingText(const QString &table);
    static QString noKindText();
    // What the messages name this object's database by: the file, or the server's database.
    QString whereText() const;

protected:
    DbObject();
    // Opens a database file (created when missing only if allowed).
    void openFile(const QString &path, bool mayCreate);
    void openServer(const ServerParams &params);
    void setKind(DbKind k) { kind_ = k; }
    // The data and master objects: open as the DB_ (or MST_) settings say and make sure the
    // database holds its tables (a server database holding none of them gets them); on failure
    // ask whether to correct the settings, naming the cause, and retry or end the program.
    void openBySettings(bool master);

private:
    friend class Recordset;
    RecordsetPtr openRecordset(const QString &sql, const std::vector<Value> &params, Recordset::Cursor cursor,
                               bool log);
    Value domain(const QString &head, const QString &wcs, bool joinAll);
    void requireOpen() const;
    // A server connection found dead is replaced by a new one before the next statement.
    void ensureLive();
    void connectServer();
    void checkSession();
    // The failure of a statement as the grower reads it; the raw text and the statement go to
    // the log. A lost server connection is dropped here (its transaction is gone with it) and,
    // with TellOthers::Yes, every other server connection is checked before its next statement.
    enum class TellOthers { No, Yes };
    HbError failure(const QSqlError &err, const QString &sql, TellOthers tell = TellOthers::Yes);
    // Texts longer than their column's declared length are refused before the statement.
    void checkTextLengths(const QString &sql, const std::vector<Value> &params);
    int declaredLength(const QString &table, const QString &column);
    // Drops what is known of the tables (text lengths, columns, primary keys, index names): after
    // a change of them, or with the connection.
    void forgetTables();
    long execTranslated(const QString &sql, const std::vector<Value> &params);
    // What every statement goes through before it runs: the connection made live, the
    // translation, the file's length check, the forgetting of changed tables or the count of a
    // write, and the start hook. Returns the text for the backend.
    QString startStatement(const QString &sql, const std::vector<Value> &params);
    // Translates, binds and runs one statement; raises the database's error.
    QSqlQuery run(const QString &sql, const std::vector<Value> &params);
    // Read a statement's names and rows into a recordset: a file's through SQLite itself where
    // the driver's SQLite is the program's own, otherwise (and a server's) through the driver.
    // A read that breaks off raises, as a failed statement does.
    void readFileRows(const QString &sql, const std::vector<Value> &params, Recordset &rs);
    void readDriverRows(const QString &sql, const std::vector<Value> &params, Recordset &rs);
    // A server's rows through the MariaDB client on the driver's own connection, each cell from
    // its text; false (nothing sent) where the driver's client is not the program's.
    bool readServerRowsDirect(const QString &sql, Recordset &rs);
    // The file connection's SQLite handle where the driver's SQLite is the program's own;
    // nullptr otherwise.
    sqlite3 *fileHandle() const;
    // What a file connection is: whether its driver runs the program's own SQLite, and whether
    // the file was opened for reading only (SQLite does so, for the connection's life, when it
    // may not write the file).
    struct FileConnection {
        bool ownSqlite = false;
        bool readOnly = false;
    };
    // Opens a file as the named connection; raises, leaving no such connection, when it cannot.
    FileConnection connectFile(const QString &name, const QString &path);
    // A file opened for reading only is opened anew before a write outside a transaction (or
    // its BEGIN), and the new connection kept where it can write.
    void reopenIfReadOnly();
    // The declared type of a table's column, in upper case ("" when there is no such column).
    QByteArray declaredType(const QString &table, const QString &column);

    QString connName_;
    DbKind kind_ = DbKind::None;
    bool inTransaction_ = false;
    bool lost_ = false;
    // Another object lost its server connection: this one is checked before its next statement.
    bool suspect_ = false;
    ServerParams server_;
    FileConnection file_;
    // The driver's connection to the server, where the program's MariaDB client reads it as the
    // driver does (checked when connecting); nullptr otherwise.
    st_mysql *directServer_ = nullptr;
    QHash<QString, QHash<QString, QByteArray>> declared_;
    QHash<QString, QStringList> columns_;
    QHash<QString, QStringList> keys_;
    std::optional<QSet<QString>> indexes_;
};

// A plain object over one database file or server, for creating databases and for tests.
class DirectDb : public DbObject {
public:
    static std::unique_ptr<DirectDb> file(const QString &path, bool mayCreate = true);
    static std::unique_ptr<DirectDb> server(const ServerParams &params);
    void OpenCnn() override {}
};

// "INSERT INTO table (c1, c2, ...) VALUES (?, ?, ...)": one bound value per column.
QString insertStatement(const QString &table, const QStringList &columns);

// Joins the open transaction of an object, or opens one of its own and commits it at commit().
// An own transaction not committed is rolled back when the scope ends.
class TransactionScope {
public:
    explicit TransactionScope(DbObject &db);
    ~TransactionScope();
    void commit();
    bool ownsTransaction() const { return own_; }

private:
    DbObject &db_;
    bool own_ = false;
    bool done_ = false;
};

}  // namespace hb
