// File helpers for the tests that write real files.
#include "tests/native/temp_files.h"

#include <dirent.h>
#include <stdlib.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstdio>
#include <cstring>

std::string MakeTempFolder(const char* prefix) {
    std::string pattern = std::string("/tmp/") + prefix + "-XXXXXX";
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back(0);
    return mkdtemp(name.data()) ? std::string(name.data()) : std::string();
}

void RemoveTempFolder(const std::string& folder) {
    if (folder.empty()) return;
    std::string command = "rm -rf '" + folder + "'";
    if (std::system(command.c_str()) != 0)
        std::fprintf(stderr, "could not remove %s\n", folder.c_str());
}

std::string ReadWholeFile(const std::string& path) {
    FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return "<missing>";
    std::string data;
    char block[65536];
    size_t got;
    while ((got = std::fread(block, 1, sizeof block, f)) > 0) data.append(block, got);
    std::fclose(f);
    return data;
}

bool WriteWholeFile(const std::string& path, const std::string& data) {
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return false;
    bool ok = std::fwrite(data.data(), 1, data.size(), f) == data.size();
    return (std::fclose(f) == 0) && ok;
}

bool FileExists(const std::string& path) {
    struct stat info;
    return stat(path.c_str(), &info) == 0;
}

TempFolder::TempFolder(const char* prefix) : dir(MakeTempFolder(prefix)) {
    if (!dir.empty()) return;
    std::fprintf(stderr, "no temporary folder for %s\n", prefix);
    std::abort();
}

std::vector<std::string> FolderNames(const std::string& folder) {
    std::vector<std::string> names;
    DIR* d = opendir(folder.c_str());
    if (!d) return names;
    while (dirent* entry = readdir(d))
        if (std::strcmp(entry->d_name, ".") && std::strcmp(entry->d_name, ".."))
            names.push_back(entry->d_name);
    closedir(d);
    std::sort(names.begin(), names.end());
    return names;
}
