#pragma once

// The wizard's two pictures, decoded at the first paint and kept until exit.

#include "support/MemoryCanvasWin32.h"

// "IMAGE_2", 120 x 250, beside the welcome page, and "IMAGE_DING", 451 x 53, the other pages'
// header band. The first call decodes both, welcome picture first.
const MemoryCanvas& WelcomeImage();
const MemoryCanvas& BannerImage();
