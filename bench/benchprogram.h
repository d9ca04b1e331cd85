#pragma once
// The program's folder for a benchmark: bin/, ini/, work/, data/ and images/ in a temporary
// directory, with the settings and work databases made and opened as a first start does.

#include "core/db.h"
#include "core/schema.h"

#include <QDir>
#include <QTemporaryDir>
#include <memory>

namespace bench {

inline void openProgramFolder(const QTemporaryDir &dir)
{
    for (const char *sub : {"bin", "ini", "work", "data", "images"})
        QDir(dir.path()).mkpath(QString::fromLatin1(sub));
    hb::setAppPath(dir.filePath(QStringLiteral("bin")));
    hb::createMissingDatabases();
    hb::InitIni();
    hb::InitWork();
}

// A program folder and the program's database objects that a benchmark keeps for the process.
// The repetitions of all benchmarks interleave, so the keepers take turns: each puts its own in
// place at the start of a run (enter), and what was in place goes back to its keeper; a
// benchmark that makes a folder of its own for one run parks the kept objects first.
class KeptProgram {
public:
    // Opens the folder as openProgramFolder does and keeps it in place.
    explicit KeptProgram(const QTemporaryDir &dir) : bin_(dir.filePath(QStringLiteral("bin")))
    {
        park();
        openProgramFolder(dir);
        current() = this;
    }
    ~KeptProgram()
    {
        if (current() == this) {
            current() = nullptr;
            hb::gDb.reset();
            hb::gMst.reset();
            hb::gWork.reset();
            hb::gINI.reset();
        } else {
            db_.reset();
            mst_.reset();
            work_.reset();
            ini_.reset();
        }
    }
    KeptProgram(const KeptProgram &) = delete;
    KeptProgram &operator=(const KeptProgram &) = delete;

    void enter()
    {
        if (current() == this)
            return;
        park();
        hb::setAppPath(bin_);
        hb::gINI = std::move(ini_);
        hb::gWork = std::move(work_);
        hb::gDb = std::move(db_);
        hb::gMst = std::move(mst_);
        current() = this;
    }
    // The objects in place go back to their keeper; nothing is in place afterwards.
    static void park()
    {
        KeptProgram *k = current();
        if (!k)
            return;
        k->ini_ = std::move(hb::gINI);
        k->work_ = std::move(hb::gWork);
        k->db_ = std::move(hb::gDb);
        k->mst_ = std::move(hb::gMst);
        current() = nullptr;
    }

private:
    static KeptProgram *&current()
    {
        static KeptProgram *k = nullptr;
        return k;
    }
    QString bin_;
    std::unique_ptr<hb::clsINI> ini_;
    std::unique_ptr<hb::clsWork> work_;
    std::unique_ptr<hb::clsDb> db_;
    std::unique_ptr<hb::clsMst> mst_;
};

}  // namespace bench
