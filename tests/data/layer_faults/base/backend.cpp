#include "platform/null/null_backend.h"
