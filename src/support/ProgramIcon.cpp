#include "support/ProgramIcon.h"
