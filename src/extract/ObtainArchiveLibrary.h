#pragma once

// Makes sure 7-zip32.dll is in the temporary folder, downloading it when missing. Ends the
// program (exit code 0) when the download fails or the user stops it.
void ObtainArchiveLibrary();
