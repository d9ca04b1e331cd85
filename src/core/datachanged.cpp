#include "core/datachanged.h"

#include <algorithm>
#include <utility>
#include <vector>

namespace hb {

namespace {

struct Entry {
    int id;
    std::function<void()> redraw;
};

std::vector<Entry> &listeners()
{
    static std::vector<Entry> list;
    return list;
}

}  // namespace

DataChangedListener::DataChangedListener(std::function<void()> redraw)
{
    static int next = 0;
    id_ = ++next;
    listeners().push_back({id_, std::move(redraw)});
}

DataChangedListener::~DataChangedListener()
{
    auto &list = listeners();
    std::erase_if(list, [this](const Entry &e) { return e.id == id_; });
}

void dataChanged()
{
    // A listener may start or stop listening while it runs: call the ones there at the start
    // that still listen.
    const std::vector<Entry> now = listeners();
    for (const Entry &e : now) {
        const auto &list = listeners();
        if (std::any_of(list.begin(), list.end(), [&](const Entry &l) { return l.id == e.id; }))
            e.redraw();
    }
}

}  // namespace hb
