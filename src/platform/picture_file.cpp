#include "platform/picture_file.h"
