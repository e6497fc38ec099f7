#include "platform/app_paths.h"
