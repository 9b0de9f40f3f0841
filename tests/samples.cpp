// Locating the optional real-file samples, for both test suites.
#include "tests/samples.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>

static const char* const VARIABLE = "QUILLON_SAMPLES";

static bool Exists(const std::string& path, bool folder) {
    struct stat info;
    if (stat(path.c_str(), &info) != 0) return false;
    return folder ? S_ISDIR(info.st_mode) : S_ISREG(info.st_mode);
}

// An absolute Unix path given to a Windows test under Wine lies on drive Z:.
static std::string Native(std::string path) {
#ifdef _WIN32
    if (path.size() > 1 && path[0] == '/' && path[1] != '/') path = "Z:" + path;
#endif
    return path;
}

static bool NamedExplicitly(std::string* folder) {
    const char* value = std::getenv(VARIABLE);
    if (!value) return false;
    *folder = Native(value);
    return true;
}

std::string SamplesFolder() {
    std::string folder;
    if (NamedExplicitly(&folder)) return folder;
    folder = QUILLON_DEFAULT_SAMPLES;
    return Exists(folder, true) ? folder : std::string();
}

std::string SamplePath(const std::string& relative) {
    std::string folder = SamplesFolder();
    if (folder.empty()) return std::string();
    std::string path = folder + "/" + relative;
    if (Exists(path, false)) return path;
    std::string named;
    if (NamedExplicitly(&named))
        ADD_FAILURE() << VARIABLE << " names " << named << ", which has no " << relative;
    return std::string();
}

std::string MissingSample(const std::string& relative) {
    std::string named;
    if (NamedExplicitly(&named) && named.empty())
        return std::string("real-file sample ") + relative + " not read: " + VARIABLE +
               " is set empty";
    return std::string("real-file sample ") + relative + " not found: set " + VARIABLE +
           " to the samples folder (the one holding ild/) to run this test";
}
