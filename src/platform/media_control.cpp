#include "platform/media_control.h"
