// The converter's command line: which files, which frames, which settings.
// Touches nothing but the options it fills in and stderr for usage errors.
#pragma once

#include <cstdint>

enum {
    CONVERT_FILES = 0,
    CONVERT_INFO = 1,
    CONVERT_HELP = 2,
    CONVERT_VERSION = 3,
    CONVERT_CHECK = 4
};

enum { CONVERT_MAX_INPUTS = 1000 };  // one frame each

struct ConvertOptions {
    int mode;
    const char* input;                       // the first of inputs
    const char* inputs[CONVERT_MAX_INPUTS];  // several only for SVG artwork
    int inputCount;
    const char* output;  // null for --info, --check, --help and --version
    bool hasRange;
    int32_t firstFrame;  // 1-based and inclusive, as the Frame Table numbers frames
    int32_t lastFrame;
    bool hasSpeed;
    int32_t speed;
    bool hasDelay;
    int32_t delay;
    bool animate;    // an .svg output as one looping animation
    int ildaFormat;  // -1, or the format code of an .ild output in the published layout
    bool hasColour;
    uint32_t colour;  // 0xRRGGBB, lit points of ILDA formats 4 and 5
    bool blanked;     // an .svg output draws blanked moves
    bool markPoints;  // an .svg output marks every point (--points alone)
    bool fit;         // frames of more than 3000 points lose repeated points first
    // How SVG artwork becomes frames (convert/frame_layout.h); the budget
    // is --points with a number.
    bool hasDwell, hasMargin, hasPointBudget;
    int32_t dwell, margin, pointBudget;
};

// Fills options from the arguments after the program name. Returns 1, or 0
// after printing what is wrong to stderr.
int ParseConvertOptions(int argc, char** argv, ConvertOptions* options);

// The message for an option given with an output it does not apply to
// (svg: the output is an .svg picture; ilda: an .ild file), or null.
const char* OptionNotForOutput(const ConvertOptions* options, bool svg, bool ilda);

void PrintConvertUsage(bool toStderr);

// "quillon-convert 1.0.0" and a line end, on stdout.
void PrintConvertVersion();
