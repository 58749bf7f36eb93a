#include "startup/ShellRegistration.h"
