#include "core/apphooks.h"

namespace hb {

AppHooks &appHooks()
{
    static AppHooks hooks;
    return hooks;
}

}  // namespace hb
