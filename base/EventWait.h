#pragma once

// The wait lives with the platform pieces, whose own loads wait the same way.
#include "platform/EventWait.h"
