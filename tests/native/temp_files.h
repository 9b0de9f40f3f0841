// Small file helpers for tests that write real files: a fresh folder per
// test, whole-file reads and writes, and folder listings.
#pragma once

#include <string>
#include <vector>

std::string MakeTempFolder(const char* prefix);
void RemoveTempFolder(const std::string& folder);
std::string ReadWholeFile(const std::string& path);  // "<missing>" when absent
bool WriteWholeFile(const std::string& path, const std::string& data);
std::vector<std::string> FolderNames(const std::string& folder);  // sorted, without . and ..
