#pragma once

// The wizard's two pictures, decoded once at load and kept until exit.

#include "support/MemoryCanvasWin32.h"

extern MemoryCanvas WelcomeImage;  // "IMAGE_2", 120 x 250, beside the welcome page
extern MemoryCanvas BannerImage;   // "IMAGE_DING", 451 x 53, the other pages' header band

// Decodes both from the program's resources, welcome picture first.
void LoadPageImages();
