// Runs the converter built beside the tests.
#include "tests/native/tool_run.h"

#include <stdlib.h>
#include <sys/wait.h>

#include "tests/native/temp_files.h"

ToolRun RunConverter(const std::string& folder, const std::string& args) {
    std::string out = folder + "/io/out", err = folder + "/io/err";
    std::string command = "cd '" + folder + "' && '" QUILLON_CONVERT_PATH "' " + args + " >'" +
                          out + "' 2>'" + err + "'";
    int raw = std::system(command.c_str());
    return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, ReadWholeFile(out), ReadWholeFile(err)};
}
