// Reading the converter's arguments. Numbers are read the way the program's
// prompts read them; out-of-range settings are left for the caller to clamp.
#include "convert/convert_options.h"

#include <cstdio>
#include <cstring>

#include "document/number_parse.h"
#include "formats/walk_report.h"
#include "resources/version.h"

static const char* const USAGE =
    "Usage: quillon-convert [--frames A-B] [--speed N] [--delay N] [--animate] IN OUT\n"
    "       quillon-convert --info FILE\n"
    "       quillon-convert --check FILE\n"
    "       quillon-convert --help | --version\n"
    "\n"
    "Reads IN (.csv or .ild) and writes OUT (.csv, .ild, .frm or .svg).\n"
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
    "                when the file cannot be read at all. Runs of alike sections\n"
    "                or frames beyond the first 300 of a kind are summed up.\n"
    "  --version     print the converter's release number\n"
    "  --            the arguments after it are file names, even if they begin\n"
    "                with \"-\"\n"
    "An .svg OUT is a picture of the frames: a contact sheet with every frame in\n"
    "a square cell showing the whole coordinate square (Y up), its beam-on moves\n"
    "as green lines and its number and name beneath. With --animate it is one\n"
    "cell that shows the frames in turn and loops, each frame for as long as the\n"
    "scan speed takes to draw its points (at least 1/60 s); the scan speed comes\n"
    "from a CSV file or --speed, and is 30000 for an ILDA file.\n"
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
    const char* files[2] = {nullptr, nullptr};
    int fileCount = 0;
    const char* infoFile = nullptr;
    const char* checkFile = nullptr;
    bool optionsEnded = false;  // after "--" every argument is a file name
    for (int i = 0; i < argc; ++i) {
        const char* arg = argv[i];
        if (optionsEnded || arg[0] != '-' || arg[1] == 0) {
            if (fileCount == 2) return Fail("too many file names: ", arg);
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
        return Fail("unknown option: ", arg);
    }
    if (infoFile || checkFile) {
        if (fileCount || (infoFile && checkFile) || options->hasRange || options->hasSpeed ||
            options->hasDelay || options->animate)
            return Fail(infoFile ? "--info" : "--check", " takes one file and no other options");
        options->mode = infoFile ? CONVERT_INFO : CONVERT_CHECK;
        options->input = infoFile ? infoFile : checkFile;
        return 1;
    }
    if (fileCount != 2) return Fail("need an input and an output file", nullptr);
    options->input = files[0];
    options->output = files[1];
    return 1;
}
