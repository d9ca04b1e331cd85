#pragma once
#include "app/fdlsetconctrl.h"
