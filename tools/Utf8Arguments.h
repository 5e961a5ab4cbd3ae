#pragma once
// The command-line arguments after the program name, in UTF-8 on every system.

#include <string>
#include <vector>

std::vector<std::string> Utf8Arguments(int argc, char** argv);

// Lets the console show the UTF-8 the tool prints.
void UseUtf8Console();
