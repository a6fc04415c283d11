#pragma once

// pxlib's header declares C functions without C linkage for C++.
extern "C" {
#include <paradox.h>
}
