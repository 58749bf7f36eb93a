#include "support/frmAbout.h"
