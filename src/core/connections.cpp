#include "core/db.h"

namespace hb {

clsINI::clsINI() {}
void clsINI::OpenCnn() { openFile(iniDbPath(), false); }
clsWork::clsWork() {}
void clsWork::OpenCnn() { openFile(workDbPath(), false); }
clsDb::clsDb() {}
void clsDb::OpenCnn() {}
clsMst::clsMst() {}
void clsMst::OpenCnn() {}

}
