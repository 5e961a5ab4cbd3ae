#pragma once

// Makes sure the publisher's 7-zip32.dll is in the run's own folder, held against writers until
// it is loaded, downloading it when missing or not signed by the publisher. Ends the program
// (exit code 0) when the download fails, the user stops it, or the download is not the
// publisher's library (it is deleted unloaded).
void ObtainArchiveLibrary();
