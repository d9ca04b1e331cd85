// A full disk and a read-only data file: the day's save and the CSV export fail with their
// messages, and the old file and the old state stay as they were.

#include "drillsite.h"

#include "core/db.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <iostream>

namespace {

using drills::Backend;
using drills::DrillSite;

const char *const kExportMessage = "パス/ファイル アクセス エラーです。";

bool run(const QString &program, const QStringList &args)
{
    QProcess p;
    p.start(program, args);
    return p.waitForFinished(30000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
}

QByteArray contents(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

class DiskDrill : public ::testing::Test {
protected:
    void SetUp() override
    {
        const drills::ChildResult setup = site.runChild(QStringLiteral("newday"), QStringLiteral("setup"));
        ASSERT_TRUE(setup.output.contains(QLatin1String("READY"))) << setup.output.toStdString();
        site.keepBase();
    }
    void TearDown() override
    {
        for (const QString &m : mounts)
            run(QStringLiteral("umount"), {QStringLiteral("-l"), m});
    }
    // The state of the data file, read as the program reads it.
    void expectUnchanged(const QStringList &before)
    {
        auto db = site.openData();
        EXPECT_EQ(drills::integrity(*db), QStringLiteral("ok"));
        EXPECT_EQ(drills::dumpTables(*db, false), before);
    }

    DrillSite site{Backend::Sqlite};
    QStringList mounts;
};

TEST_F(DiskDrill, AFullDiskFailsTheSaveAndTheExportAndKeepsTheOldFiles)
{
    // A small file system of its own, filled up; else the data file may not grow.
    const QString small = site.root() + QStringLiteral("/small");
    QDir().mkpath(small);
    const bool mounted = run(QStringLiteral("mount"), {QStringLiteral("-t"), QStringLiteral("tmpfs"), QStringLiteral("-o"),
                                                       QStringLiteral("size=1m"), QStringLiteral("tmpfs"), small});
    QStringList env;
    const QString data = small + QStringLiteral("/DATA.MDB");
    const QString csv = small + QStringLiteral("/old.csv");
    if (mounted) {
        mounts << small;
        site.moveDataFile(data);
        writeFile(csv, "old,contents\r\n");
        QFile filler(small + QStringLiteral("/filler"));
        ASSERT_TRUE(filler.open(QIODevice::WriteOnly));
        const QByteArray block(4096, 'x');
        while (filler.write(block) == block.size() && filler.flush()) {
        }
    } else {
        site.moveDataFile(data);
        writeFile(csv, "old,contents\r\n");
        env << QStringLiteral("HB_DRILL_FULL=1");
    }
    const QStringList before = drills::dumpTables(*site.openData(), false);

    const drills::ChildResult save = site.runChild(QStringLiteral("newday"), QStringLiteral("run"), 0, env);
    ASSERT_TRUE(save.done) << save.output.toStdString();
    EXPECT_EQ(save.message, hb::DbObject::diskFullText(QDir::toNativeSeparators(data))) << save.output.toStdString();
    expectUnchanged(before);

    if (mounted) {
        const drills::ChildResult exp =
            site.runChild(QStringLiteral("-"), QStringLiteral("export"), 0, {}, {}, {csv});
        ASSERT_TRUE(exp.done) << exp.output.toStdString();
        EXPECT_EQ(exp.message, QString::fromUtf8(kExportMessage));
        EXPECT_EQ(contents(csv), QByteArray("old,contents\r\n"));
    }
    std::cout << "[disk] full disk by " << (mounted ? "a filled tmpfs" : "max_page_count") << ": save refused"
              << std::endl;
}

TEST_F(DiskDrill, AReadOnlyDataFileFailsTheSaveAndTheExportAndKeepsTheOldFiles)
{
    // root ignores file modes: the child runs as an unprivileged user, or the data folder is
    // mounted read-only.
    const QString setpriv = QStandardPaths::findExecutable(QStringLiteral("setpriv"));
    const QString dataDir = site.root() + QStringLiteral("/data");
    const QString csv = dataDir + QStringLiteral("/old.csv");
    writeFile(csv, "old,contents\r\n");
    QStringList wrapper;
    if (!setpriv.isEmpty()) {
        wrapper = {setpriv, QStringLiteral("--reuid=65534"), QStringLiteral("--regid=65534"), QStringLiteral("--clear-groups")};
        // Readable by all; only the work folder writable.
        for (const QString &d : {site.root(), site.folder(), site.root() + QStringLiteral("/ini"), dataDir})
            QFile::setPermissions(d, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner |
                                         QFileDevice::ReadGroup | QFileDevice::ExeGroup | QFileDevice::ReadOther |
                                         QFileDevice::ExeOther);
        QFile::setPermissions(site.root() + QStringLiteral("/work"), QFileDevice::Permissions(0x7777));
        QFile::setPermissions(site.workFile(), QFileDevice::Permissions(0x6666));
        for (const QString &f : {site.dataFile(), csv, site.root() + QStringLiteral("/ini/INFO.MDB")})
            QFile::setPermissions(f, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup |
                                         QFileDevice::ReadOther);
    } else if (run(QStringLiteral("mount"), {QStringLiteral("--bind"), dataDir, dataDir}) &&
               (mounts << dataDir, run(QStringLiteral("mount"), {QStringLiteral("-o"), QStringLiteral("remount,ro,bind"), dataDir}))) {
    } else {
        if (drills::inCi())
            FAIL() << "neither setpriv nor a read-only bind mount";
        GTEST_SKIP() << "neither setpriv nor a read-only bind mount";
    }
    const QStringList before = drills::dumpTables(*site.openData(), false);

    const QStringList env{QStringLiteral("HOME=/tmp"), QStringLiteral("XDG_RUNTIME_DIR=")};
    const drills::ChildResult save = site.runChild(QStringLiteral("newday"), QStringLiteral("run"), 0, env, wrapper);
    ASSERT_TRUE(save.done) << save.output.toStdString();
    EXPECT_EQ(save.message, hb::DbObject::readOnlyText(QDir::toNativeSeparators(site.dataFile())))
        << save.output.toStdString();
    expectUnchanged(before);

    // The CSV is no more writable for the program than the data file: refused before anything is written.
    const drills::ChildResult exp = site.runChild(QStringLiteral("-"), QStringLiteral("export"), 0, env, wrapper, {csv});
    ASSERT_TRUE(exp.done) << exp.output.toStdString();
    EXPECT_EQ(exp.message, QStringLiteral("ファイルに書き込めません（読み取り専用）：") + QDir::toNativeSeparators(csv));
    EXPECT_EQ(contents(csv), QByteArray("old,contents\r\n"));
}

}  // namespace
