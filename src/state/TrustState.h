#pragma once

#include "platform/File.h"

// The checked package and archive library, held open against writers from their check until
// they are used: the package until the downloads are deleted, the library until it is loaded.
extern File CheckedPackage;
extern File CheckedLibrary;
