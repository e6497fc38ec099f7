#include "platform/random_source.h"
