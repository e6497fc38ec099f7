#include "platform/shift_jis.h"
