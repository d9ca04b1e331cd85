#pragma once
#include "app/fdlsetlocalctrl.h"
