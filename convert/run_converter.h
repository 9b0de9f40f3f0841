// The converter's work, given its arguments in UTF-8 (the program's name
// first, as main gets them); returns the exit status.
#pragma once

int RunConverter(int argc, char** argv);
