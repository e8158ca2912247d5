// Wrong: the core is below the signature check.
#include "update/minisign/Minisign.h"
