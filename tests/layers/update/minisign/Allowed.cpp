// Right: the signature check builds on its own core.
#include "update/core/SignatureCheck.h"
