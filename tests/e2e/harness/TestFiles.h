#pragma once

#include <string>

// Files and folders of a test program running under Wine.

// "/a/b" becomes "Z:\a\b" (Wine maps Z: to /); anything else is returned unchanged.
std::string WindowsPathFromUnix(const std::string& path);

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
