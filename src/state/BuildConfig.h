#pragma once

// Values fixed when an installer program is linked (see cmake/Installer.cmake).

// The package file name, padded with blanks to six bytes; "???" at the start marks the
// template build. Read through volatile so the six bytes stay in the image exactly once.
extern const volatile char PackageMarker[7];

extern const char DownloadHost1[];
extern const char DownloadHost2[];
