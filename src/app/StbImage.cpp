// The one place the picture decoder's code is compiled.
#define STB_IMAGE_IMPLEMENTATION
#include "app/StbImage.h"
