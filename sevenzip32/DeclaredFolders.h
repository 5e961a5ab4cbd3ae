#pragma once
#include <vector>

#include "ArchiveModel.h"
#include "InStream.h"

namespace sevenzip {

// The folders an archive's headers declare, read without asking whether this library
// decodes their coders, so that a refusal can name them. When the packed header itself
// needs a coder the library lacks, the header's own folder is what comes back.
// Throws ArchiveError when the headers cannot be read.
std::vector<Folder> DeclaredFolders(InStream& in);

}  // namespace sevenzip
