#include "random/allocate.h"

#include <newmat/myexcept.h>

void throw_out_of_space() { throw RBD_COMMON::Bad_alloc("Vorand: out of space"); }
