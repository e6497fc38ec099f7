#include "platform/stretch.h"
