// Running quillon-convert as a user would, from a folder, with its output
// streams caught in files beside it.
#pragma once

#include <string>

struct ToolRun {
    int status;  // the exit status; -1 when it did not exit normally
    std::string out;
    std::string err;
};

// Runs the converter with args in folder; its streams go to io/out and
// io/err in that folder, which must exist.
ToolRun RunConverter(const std::string& folder, const std::string& args);
