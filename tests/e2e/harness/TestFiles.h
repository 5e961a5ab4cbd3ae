#pragma once

#include <map>
#include <string>

// Files, folders and arguments of a test program running under Wine.

// "/a/b" becomes "Z:\a\b" (Wine maps Z: to /); anything else is returned unchanged.
std::string WindowsPathFromUnix(const std::string& path);

// The value of --name=... given to the test program (a Unix path made a Windows one), or
// empty text.
std::string HarnessArgument(const std::string& name);

// The folder of the running test program, with a trailing "\".
std::string TestProgramFolder();

// An empty folder <test program folder>\scratch\<name>, made anew; no trailing "\".
std::string FreshFolder(const std::string& name);

// Deletes a folder and everything in it.
void RemoveTree(const std::string& folder);

// Makes the folder and every missing folder above it.
void MakeFolders(const std::string& folder);

bool FolderExists(const std::string& path);
bool FileExists(const std::string& path);

// The whole file, or empty text when it cannot be read.
std::string ReadFileBytes(const std::string& path);

// Writes the bytes as the whole file; false when it cannot be written.
bool WriteFileBytes(const std::string& path, const std::string& bytes);

// Every entry below folder by its relative name: files map to their bytes, folders (named
// with a trailing "\") to nothing.
std::map<std::string, std::string> TreeOf(const std::string& folder);

// The same names below both folders and the same bytes in each file (a failure names them).
void ExpectSameTree(const std::string& expected, const std::string& actual);
