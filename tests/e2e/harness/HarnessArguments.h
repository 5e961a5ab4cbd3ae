#pragma once

#include <string>

// Arguments of the form --name=value given to a test program after GoogleTest's own;
// Unix paths among them are turned into Windows ones.
void KeepHarnessArguments(int argc, char** argv);

// The value of --name=..., or empty text.
std::string HarnessArgument(const std::string& name);
