// Small file helpers for tests that write real files: a fresh folder per
// test, whole-file reads and writes, and folder listings.
#pragma once

#include <string>
#include <vector>

std::string MakeTempFolder(const char* prefix);
void RemoveTempFolder(const std::string& folder);
std::string ReadWholeFile(const std::string& path);  // "<missing>" when absent
bool WriteWholeFile(const std::string& path, const std::string& data);
bool FileExists(const std::string& path);
std::vector<std::string> FolderNames(const std::string& folder);  // sorted, without . and ..

// A fresh folder for as long as the object lives, as a fixture's member.
class TempFolder {
public:
    explicit TempFolder(const char* prefix);
    ~TempFolder() { RemoveTempFolder(dir); }
    std::string Path(const std::string& name) const { return dir + "/" + name; }

    const std::string dir;
};
