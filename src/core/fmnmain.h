#pragma once
#include "app/fmnmain.h"
