// The picture decoder used for picture sizes, set up for the formats the window loads.
#pragma once

#define STBI_NO_STDIO
#define STBI_ONLY_JPEG
#define STBI_ONLY_GIF
#include <stb_image.h>
