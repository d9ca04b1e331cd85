#pragma once
#include <QString>
#include <functional>

namespace hb {
// The trace hook: receives the statements of opened recordsets, message-box lines and
// release errors. It writes nothing by itself; a sink can be set to collect the lines.
void WriteLog(const QString &text);
void setLogSink(std::function<void(const QString &)> sink);
}
