// Reading the converter's arguments. Numbers are read the way the program's
// prompts read them; out-of-range settings are left for the caller to clamp.
#include "convert/convert_options.h"

#include <cstdio>
#include <cstring>

#include "convert/frame_layout.h"
#include "document/number_parse.h"
#include "formats/ilda_write.h"
#include "formats/stream_text.h"
#include "formats/walk_report.h"
#include "resources/version.h"

static const char* const USAGE =
    "Usage: quillon-convert [--frames A-B] [--speed N] [--delay N] [--fit] [--animate]\n"
    "                       [--blanked] [--points] [--ilda-format F [--colour RRGGBB]] IN OUT\n"
    "       quillon-convert [--dwell N] [--margin PERCENT] [--points N] [options]\n"
    "                       A.svg [B.svg ...] OUT\n"
    "       quillon-convert --info FILE\n"
    "       quillon-convert --check FILE [--speed N]\n"
    "       quillon-convert --help | --version\n"
    "\n"
    "Reads IN (.csv, .ild or .svg) and writes OUT (.csv, .ild, .frm or .svg).\n"
    "  --frames A-B  write only frames A to B (numbered from 1; A alone for one frame)\n"
    "  --speed N     scan speed in points per second, kept within 1000 to 30000\n"
    "  --delay N     blanking delay in points, kept within 0 to 30\n"
    "  --fit         bring a frame of more than 3000 points to 3000 by dropping\n"
    "                repeated points (the same place and beam state as the point\n"
    "                before), taken evenly from its runs of them, before anything\n"
    "                is cut; says on stderr how many frames and points\n"
    "  --animate     an .svg OUT shows the frames one after another instead of\n"
    "                side by side\n"
    "  --blanked     an .svg OUT also draws the blanked moves, as thin dim dashed\n"
    "                lines\n"
    "  --points      an .svg OUT marks every point: lit points with yellow dots,\n"
    "                blanked points with magenta squares\n"
    "  --ilda-format F\n"
    "                an .ild OUT in the published layout of format F: 0 (3D) or 1\n"
    "                (2D) with colour indexes, 4 (3D) or 5 (2D) with true colour;\n"
    "                every frame's last record has the last-point bit. Without it\n"
    "                an .ild OUT is what the editor writes.\n"
    "  --colour RRGGBB\n"
    "                the colour of lit points in formats 4 and 5, as six hex\n"
    "                digits (FFFFFF, white, when not given); blanked points are\n"
    "                black\n"
    "  --info FILE   print the frame count, the settings (CSV) and every frame's\n"
    "                number, name and point count\n"
    "  --check FILE  say what the editor would make of FILE, section by section\n"
    "                (ILDA) or frame by frame (CSV): what it keeps, what it would\n"
    "                leave out and why (lines \"lost:\"), and what is odd but costs\n"
    "                nothing (lines \"note:\"). The notes also give the longest\n"
    "                time a lit beam stays on one spot, the largest lit and\n"
    "                blanked jumps, each frame's drawing time (shortest, longest)\n"
    "                at the scan speed of a CSV file, --speed or 30000, and what\n"
    "                --fit would do with frames of more than 3000 points. Exit\n"
    "                status 0 when nothing would be left out, 1 when something\n"
    "                would (the editor warns then), 2 when the file cannot be read\n"
    "                at all. Runs of alike sections or frames beyond the first 300\n"
    "                of a kind are summed up, with their losses and notes.\n"
    "  --version     print the converter's release number\n"
    "  --            the arguments after it are file names, even if they begin\n"
    "                with \"-\"\n"
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
    "  --points N        at most N points a frame, 1 to 3000 (default 3000); --points\n"
    "                    without a number marks the points of an .svg OUT\n"
    "An existing OUT is replaced only by a completely written file; stopped by\n"
    "Ctrl+C or a termination signal, the converter leaves the old OUT and no\n"
    "temporary file. A failure exits 1, with the message, the file it concerns\n"
    "and the system's reason on stderr; so does output on stdout that cannot be\n"
    "written (--info, --check, --help, --version).\n"
    "If IN cannot be read whole (more than 3000 points in a frame, more than 1000\n"
    "frames, a file cut short, a section of an unknown format, frames after a\n"
    "closing header), what was read is written and what was left out is reported\n"
    "on stderr; the exit status is still 0. A file of which not one frame can be\n"
    "read is a failure.\n";

void PrintConvertUsage(bool toStderr) {
    ReportText(toStderr ? stderr : stdout, "%s", USAGE);
}

void PrintConvertVersion() {
    ReportLine(stdout, "quillon-convert %s", QUILLON_VERSION_TEXT);
}

// One line that names the option or argument at fault; --help has the rest.
static int Fail(const char* what, const char* detail) {
    PrintText(stderr, "quillon-convert: %s%s\n", what, detail ? detail : "");
    return 0;
}

// A whole argument as one integer: digits required, nothing after them.
static int WholeNumber(const char* text, int32_t* value) {
    const char* end = text;
    return ScanInt(text, value, &end) && *end == 0;
}

// --dwell, --margin and --points N, each a whole number within its range.
// --points followed by no number is the flag that marks points instead.
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
        {"--points", 1, MAX_POINTS, &ConvertOptions::hasPointBudget, &ConvertOptions::pointBudget}};
    for (const Setting& setting : settings) {
        if (std::strcmp(arg, setting.name) != 0) continue;
        int32_t number = 0;
        const bool whole = value && WholeNumber(value, &number);
        if (setting.given == &ConvertOptions::hasPointBudget && !whole) return -1;
        if (!value) return Fail("missing value after ", arg);
        if (!whole || number < setting.low || number > setting.high) {
            PrintText(stderr, "quillon-convert: invalid value for %s: %s (%d to %d)\n", arg, value,
                      (int)setting.low, (int)setting.high);
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

// The options without a value, or null.
static bool* FlagOption(const char* arg, ConvertOptions* options) {
    if (std::strcmp(arg, "--animate") == 0) return &options->animate;
    if (std::strcmp(arg, "--blanked") == 0) return &options->blanked;
    if (std::strcmp(arg, "--points") == 0) return &options->markPoints;
    if (std::strcmp(arg, "--fit") == 0) return &options->fit;
    return nullptr;
}

// Six hex digits, RRGGBB.
static int ParseColour(const char* text, uint32_t* colour) {
    uint32_t value = 0;
    int digits = 0;
    for (; text[digits]; ++digits) {
        const char c = text[digits];
        int digit = c >= '0' && c <= '9'   ? c - '0'
                    : c >= 'a' && c <= 'f' ? c - 'a' + 10
                    : c >= 'A' && c <= 'F' ? c - 'A' + 10
                                           : -1;
        if (digit < 0 || digits == 6) return 0;
        value = value << 4 | (uint32_t)digit;
    }
    if (digits != 6) return 0;
    *colour = value;
    return 1;
}

static int ParseExportValue(const char* arg, const char* value, ConvertOptions* options) {
    if (std::strcmp(arg, "--colour") == 0) {
        if (!ParseColour(value, &options->colour))
            return Fail("invalid --colour (six hex digits, RRGGBB): ", value);
        options->hasColour = true;
        return 1;
    }
    int32_t format = -1;
    if (!WholeNumber(value, &format) || !IldaWritableFormat(format))
        return Fail("invalid --ilda-format (0, 1, 4 or 5): ", value);
    options->ildaFormat = format;
    return 1;
}

static bool HasExportOption(const ConvertOptions* options) {
    return options->ildaFormat >= 0 || options->hasColour || options->blanked ||
           options->markPoints || options->fit;
}

const char* OptionNotForOutput(const ConvertOptions* options, bool svg, bool ilda) {
    if (options->animate && !svg) return "--animate needs an .svg output";
    if (options->blanked && !svg) return "--blanked needs an .svg output";
    if (options->markPoints && !svg) return "--points needs an .svg output";
    if (options->ildaFormat >= 0 && !ilda) return "--ilda-format needs an .ild output";
    if (options->hasColour && options->ildaFormat != 4 && options->ildaFormat != 5)
        return "--colour needs --ilda-format 4 or 5";
    return nullptr;
}

int ParseConvertOptions(int argc, char** argv, ConvertOptions* options) {
    std::memset(options, 0, sizeof *options);
    options->mode = CONVERT_FILES;
    options->ildaFormat = -1;
    const char* files[CONVERT_MAX_INPUTS + 1] = {nullptr};
    int fileCount = 0;
    const char* infoFile = nullptr;
    const char* checkFile = nullptr;
    bool optionsEnded = false;  // after "--" every argument is a file name
    for (int i = 0; i < argc; ++i) {
        const char* arg = argv[i];
        if (optionsEnded || arg[0] != '-' || arg[1] == 0) {
            if (fileCount == CONVERT_MAX_INPUTS + 1) return Fail("too many file names: ", arg);
            files[fileCount++] = arg;
            continue;
        }
        if (std::strcmp(arg, "--") == 0) {
            optionsEnded = true;
            continue;
        }
        const char* value = i + 1 < argc ? argv[i + 1] : nullptr;
        if (std::strcmp(arg, "--help") == 0 || std::strcmp(arg, "-h") == 0) {
            options->mode = CONVERT_HELP;
            return 1;
        }
        if (std::strcmp(arg, "--version") == 0) {
            options->mode = CONVERT_VERSION;
            return 1;
        }
        const int artwork = ParseArtworkOption(arg, value, options);
        if (artwork == 0) return 0;
        if (artwork == 1) {
            ++i;
            continue;
        }
        if (bool* flag = FlagOption(arg, options)) {
            *flag = true;
            continue;
        }
        if (std::strcmp(arg, "--ilda-format") == 0 || std::strcmp(arg, "--colour") == 0) {
            if (!value) return Fail("missing value after ", arg);
            ++i;
            if (!ParseExportValue(arg, value, options)) return 0;
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
        return Fail("unknown option: ", arg);
    }
    if (infoFile || checkFile) {
        if (fileCount || (infoFile && checkFile) || options->hasRange ||
            (options->hasSpeed && infoFile) || options->hasDelay || options->animate ||
            HasExportOption(options) || options->hasDwell || options->hasMargin ||
            options->hasPointBudget)
            return Fail(infoFile ? "--info" : "--check",
                        infoFile ? " takes one file and no other options"
                                 : " takes one file and no other option but --speed");
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
