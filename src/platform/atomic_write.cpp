#include "platform/atomic_write.h"
