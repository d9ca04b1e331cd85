#pragma once
// Data access as a whole: the recordsets, the data-access objects and the program's databases.

#include "core/databases.h"
#include "core/dbobject.h"
#include "core/recordset.h"
