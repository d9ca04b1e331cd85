#pragma once
// Readable failure output for Qt types.
#include <QString>
#include <ostream>

inline void PrintTo(const QString &s, std::ostream *os)
{
    *os << '"' << s.toStdString() << '"';
}

#include "core/value.h"

namespace hb {
inline void PrintTo(const Value &v, std::ostream *os)
{
    if (v.isEmpty())
        *os << "Empty";
    else if (v.isNull())
        *os << "Null";
    else
        *os << static_cast<int>(v.type()) << ":" << v.displayText().toStdString();
}
}  // namespace hb
