#pragma once

#include <string>

#include "support/ScopedWin.h"

// Opens the file with read sharing only, so that nobody can write, rename or delete it while
// `hold` keeps it open, and checks the publisher's signature on what is held. True with the
// file held when the signature holds; true with nothing held when the installer carries no
// key (files are then used unchecked); false with nothing held otherwise.
bool HoldPublisherFile(const std::string& path, AutoCloseHandle& hold);
