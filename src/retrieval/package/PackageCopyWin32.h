#pragma once

#include "retrieval/package/PackageCopy.h"

// The package-copy mode's file operations on the real file system.
CopyFileOperations& FileSystemCopyFiles();
