// Reading the converter's arguments. Numbers are read the way the program's
// prompts read them; out-of-range settings are left for the caller to clamp.
#include "convert/convert_options.h"

#include <cstdio>
#include <cstring>

#include "artwork/frame_layout.h"
#include "document/number_parse.h"
#include "resources/version.h"

static const char* const USAGE =
    "Usage: quillon-convert [--frames A-B] [--speed N] [--delay N] [--animate] IN OUT\n"
    "       quillon-convert [--dwell N] [--margin PERCENT] [--points N] [options]\n"
    "                       A.svg [B.svg ...] OUT\n"
    "       quillon-convert --info FILE\n"
    "       quillon-convert --check FILE\n"
    "       quillon-convert --help | --version\n"
    "\n"
    "Reads IN (.csv, .ild or .svg) and writes OUT (.csv, .ild, .frm or .svg).\n"
    "  --frames A-B  write only frames A to B (numbered from 1; A alone for one frame)\n"
    "  --speed N     scan speed in points per second, kept within 1000 to 30000\n"
    "  --delay N     blanking delay in points, kept within 0 to 30\n"
    "  --animate     an .svg OUT shows the frames one after another instead of\n"
    "                side by side\n"
    "  --info FILE   print the frame count, the settings (CSV) and every frame's\n"
    "                number, name and point count\n"
    "  --check FILE  say what the editor would make of FILE, section by section\n"
    "                (ILDA) or frame by frame (CSV): what it keeps, what it would\n"
    "                leave out and why (lines \"lost:\"), and what is odd but costs\n"
    "                nothing (lines \"note:\"). Exit status 0 when nothing would be\n"
    "                left out, 1 when something would (the editor warns then), 2\n"
    "                when the file cannot be read at all.\n"
    "  --version     print the converter's release number\n"
    "An .svg OUT is a picture of the frames: a contact sheet with every frame in\n"
    "a square cell showing the whole coordinate square (Y up), its beam-on moves\n"
    "as green lines and its number and name beneath. With --animate it is one\n"
    "cell that shows the frames in turn and loops, each frame for as long as the\n"
    "scan speed takes to draw its points (at least 1/60 s); the scan speed comes\n"
    "from a CSV file or --speed, and is 30000 for an ILDA file.\n"
    "An SVG IN is artwork: each file becomes one frame, in the order given,\n"
    "named after the file (without .svg, 16 bytes). Every visible path, rect,\n"
    "circle, ellipse, line, polyline and polygon is drawn as its outline, with\n"
    "all transforms, viewBox and preserveAspectRatio; text and pictures are\n"
    "not. The page (and whatever reaches beyond it) is fitted into the square,\n"
    "centred, Y up as the picture shows it. Curves become chords that stray at\n"
    "most 32 units from them; when a frame would take more points than it may,\n"
    "that tolerance grows, up to 2048 units, and a drawing that still does not\n"
    "fit is refused. Paths are drawn nearest first, each blanked move between\n"
    "them a blanked point at its start and one at its end.\n"
    "  --dwell N         points the beam waits at each sharp corner and at each\n"
    "                    path's start and end, 0 to 100 (default 4: at 30000\n"
    "                    points per second 133 microseconds, what scanners take\n"
    "                    to reach a corner)\n"
    "  --margin PERCENT  room left on each side of the square, 0 to 45 (default 5)\n"
    "  --points N        at most N points a frame, 1 to 3000 (default 3000)\n"
    "An existing OUT is replaced only by a completely written file.\n"
    "If IN cannot be read whole (more than 3000 points in a frame, more than 1000\n"
    "frames, a file cut short, a section of an unknown format, sections after a\n"
    "closing header), what was read is written and what was left out is reported\n"
    "on stderr; the exit status is still 0. A file of which not one frame can be\n"
    "read is a failure.\n";

void PrintConvertUsage(bool toStderr) {
    std::fputs(USAGE, toStderr ? stderr : stdout);
}

void PrintConvertVersion() {
    std::fputs("quillon-convert " QUILLON_VERSION_TEXT "\n", stdout);
}

static int Fail(const char* what, const char* detail) {
    std::fprintf(stderr, "quillon-convert: %s%s\n", what, detail ? detail : "");
    std::fputs("Try 'quillon-convert --help'.\n", stderr);
    return 0;
}

// A whole argument as one integer: digits required, nothing after them.
static int WholeNumber(const char* text, int32_t* value) {
    const char* end = text;
    return ScanInt(text, value, &end) && *end == 0;
}

// --dwell, --margin and --points, each a whole number within its range.
// Returns 1 when arg is one of them and its value was taken, 0 after a
// message when the value is missing or wrong, -1 when arg is none of them.
static int ParseArtworkOption(const char* arg, const char* value, ConvertOptions* options) {
    struct Setting {
        const char* name;
        int32_t low, high;
        bool ConvertOptions::*given;
        int32_t ConvertOptions::*value;
    };
    static const Setting settings[] = {
        {"--dwell", 0, DWELL_MAX, &ConvertOptions::hasDwell, &ConvertOptions::dwell},
        {"--margin", 0, MARGIN_MAX, &ConvertOptions::hasMargin, &ConvertOptions::margin},
        {"--points", 1, MAX_POINTS, &ConvertOptions::hasPoints, &ConvertOptions::points}};
    for (const Setting& setting : settings) {
        if (std::strcmp(arg, setting.name) != 0) continue;
        if (!value) return Fail("missing value after ", arg);
        int32_t number = 0;
        if (!WholeNumber(value, &number) || number < setting.low || number > setting.high) {
            std::fprintf(stderr, "quillon-convert: invalid value for %s: %s (%d to %d)\n", arg,
                         value, (int)setting.low, (int)setting.high);
            std::fputs("Try 'quillon-convert --help'.\n", stderr);
            return 0;
        }
        options->*setting.given = true;
        options->*setting.value = number;
        return 1;
    }
    return -1;
}

static int ParseRange(const char* text, ConvertOptions* options) {
    const char* end = text;
    int32_t first = 0, last = 0;
    if (!ScanInt(text, &first, &end)) return 0;
    if (*end == 0) {
        last = first;
    } else {
        if (*end != '-') return 0;
        if (!WholeNumber(end + 1, &last)) return 0;
    }
    options->hasRange = true;
    options->firstFrame = first;
    options->lastFrame = last;
    return 1;
}

int ParseConvertOptions(int argc, char** argv, ConvertOptions* options) {
    std::memset(options, 0, sizeof *options);
    options->mode = CONVERT_FILES;
    const char* files[CONVERT_MAX_INPUTS + 1] = {nullptr};
    int fileCount = 0;
    const char* infoFile = nullptr;
    const char* checkFile = nullptr;
    for (int i = 0; i < argc; ++i) {
        const char* arg = argv[i];
        const char* value = i + 1 < argc ? argv[i + 1] : nullptr;
        if (std::strcmp(arg, "--help") == 0 || std::strcmp(arg, "-h") == 0) {
            options->mode = CONVERT_HELP;
            return 1;
        }
        if (std::strcmp(arg, "--version") == 0) {
            options->mode = CONVERT_VERSION;
            return 1;
        }
        if (std::strcmp(arg, "--animate") == 0) {
            options->animate = true;
            continue;
        }
        if (std::strcmp(arg, "--frames") == 0 || std::strcmp(arg, "--speed") == 0 ||
            std::strcmp(arg, "--delay") == 0 || std::strcmp(arg, "--info") == 0 ||
            std::strcmp(arg, "--check") == 0) {
            if (!value) return Fail("missing value after ", arg);
            ++i;
            if (arg[2] == 'f') {
                if (!ParseRange(value, options)) return Fail("invalid frame range: ", value);
            } else if (arg[2] == 's') {
                if (!WholeNumber(value, &options->speed))
                    return Fail("invalid scan speed: ", value);
                options->hasSpeed = true;
            } else if (arg[2] == 'd') {
                if (!WholeNumber(value, &options->delay))
                    return Fail("invalid blanking delay: ", value);
                options->hasDelay = true;
            } else if (arg[2] == 'i') {
                infoFile = value;
            } else {
                checkFile = value;
            }
            continue;
        }
        const int artwork = ParseArtworkOption(arg, value, options);
        if (artwork == 0) return 0;
        if (artwork == 1) {
            ++i;
            continue;
        }
        if (arg[0] == '-' && arg[1] == '-') return Fail("unknown option: ", arg);
        if (fileCount == CONVERT_MAX_INPUTS + 1) return Fail("too many file names: ", arg);
        files[fileCount++] = arg;
    }
    if (infoFile || checkFile) {
        if (fileCount || (infoFile && checkFile) || options->hasRange || options->hasSpeed ||
            options->hasDelay || options->animate || options->hasDwell || options->hasMargin ||
            options->hasPoints)
            return Fail(infoFile ? "--info" : "--check", " takes one file and no other options");
        options->mode = infoFile ? CONVERT_INFO : CONVERT_CHECK;
        options->input = infoFile ? infoFile : checkFile;
        return 1;
    }
    if (fileCount < 2) return Fail("need an input and an output file", nullptr);
    for (int n = 0; n + 1 < fileCount; ++n) options->inputs[n] = files[n];
    options->inputCount = fileCount - 1;
    options->input = files[0];
    options->output = files[fileCount - 1];
    return 1;
}
