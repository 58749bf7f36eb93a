#include "startup/clsHTTP.h"
