// The library boundary: the single exported function.
#include "torva/itorva.h"

#include "driver/itorva.h"

extern "C" TORVA_API int ITORVA(int mode) { return torva::run_itorva(mode); }
