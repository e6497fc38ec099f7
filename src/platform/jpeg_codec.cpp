#include "platform/jpeg_codec.h"
