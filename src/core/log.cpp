#include "core/log.h"

namespace hb {

namespace {
std::function<void(const QString &)> &sink()
{
    static std::function<void(const QString &)> s;
    return s;
}
}

void WriteLog(const QString &text)
{
    if (sink())
        sink()(text);
}

void setLogSink(std::function<void(const QString &)> s)
{
    sink() = std::move(s);
}

}
