#include "support/sandbox_test.h"
