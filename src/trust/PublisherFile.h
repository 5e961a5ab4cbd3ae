#pragma once

#include <string>

#include "platform/File.h"
#include "trust/DownloadDigestWin32.h"

// Opens the file with read sharing only, so that nobody can write, rename or delete it while
// `hold` keeps it open, and checks the publisher's signature on what is held. True with the
// file held when the signature holds; true with nothing held when the installer carries no
// key (files are then used unchecked); false with nothing held otherwise.
bool HoldPublisherFile(const std::string& path, File& hold);

// The same check on a file just downloaded through its own handle, which shares reading only
// from the file's creation on, so its bytes are the ones the running hash saw: that hash is
// used when it covers the file's signed part, else the file is hashed whole. The handle
// becomes the hold when the signature holds and is closed otherwise.
bool HoldDownloadedFile(DownloadedFile& downloaded, File& hold);
