#pragma once
// Two computers sharing one database of either kind: two program folders, each with its own
// settings and work databases and its own computer name ("pc1", "pc2"), whose data and master
// settings name the same database (a server database, or one file). One computer is in front at
// a time: the program's folder, its four database objects and its computer name are that
// computer's; the other's objects wait aside, their connections open.

#include "common/backends.h"
#include "common/programdir.h"

#include <array>
#include <memory>

namespace hbtest {

class TwoComputers {
public:
    // The data and master databases of both computers: `shared` (its schemas are loaded when
    // they are missing).
    explicit TwoComputers(FreshDatabase &shared);
    ~TwoComputers();
    TwoComputers(const TwoComputers &) = delete;
    TwoComputers &operator=(const TwoComputers &) = delete;

    // Puts computer 0 ("pc1") or 1 ("pc2") in front.
    void use(int which);
    int current() const { return current_; }
    static QString name(int which) { return which == 0 ? QStringLiteral("pc1") : QStringLiteral("pc2"); }

private:
    struct Aside {
        std::unique_ptr<hb::clsINI> ini;
        std::unique_ptr<hb::clsDb> db;
        std::unique_ptr<hb::clsMst> mst;
        std::unique_ptr<hb::clsWork> work;
    };
    std::array<std::unique_ptr<ProgramDir>, 2> dirs_;
    std::array<Aside, 2> aside_;
    int current_ = -1;
};

}  // namespace hbtest
