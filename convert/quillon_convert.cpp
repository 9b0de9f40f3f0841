// quillon-convert: reads a CSV or ILDA frame file with the program's own
// readers, or SVG artwork as frames, and writes it as CSV, ILDA or packed
// with its own writers, or as an SVG picture, or describes or checks it. The program's warnings go
// to stderr; every failure exits 1 (--check has exit statuses of its own). A read that left data
// out is reported there too, but is no failure: the output holds what was read and the exit status
// is 0.
#include <cstdio>
#include <cstring>

#include "convert/convert_options.h"
#include "convert/file_check.h"
#include "convert/svg_inputs.h"
#include "document/frame_store.h"
#include "document/number_parse.h"
#include "document/ui_port.h"
#include "files/document_file.h"
#include "formats/csv_file.h"
#include "formats/ilda_file.h"
#include "formats/name_text.h"
#include "formats/packed_file.h"
#include "formats/svg_file.h"

static const char* inputPath = "";
static const char* outputPath = "";

// The readers' and writers' warnings, with the file they concern. A
// message of several lines (what a read left out) gets the prefix on each.
static void PrintWarning(UiWindow, const char* text, const char* caption) {
    const char* path = caption && caption[0] == 'L' ? inputPath : outputPath;
    const char* line = text;
    for (const char* end; (end = std::strchr(line, '\n')) != nullptr; line = end + 1)
        std::fprintf(stderr, "quillon-convert: %s: %.*s\n", path, (int)(end - line), line);
    std::fprintf(stderr, "quillon-convert: %s: %s (%s)\n", path, line, caption ? caption : "");
}

static int Refuse(const char* text, const char* path) {
    std::fprintf(stderr, "quillon-convert: %s: %s\n", path, text);
    return 1;
}

static int ReadInput(const char* path) {
    inputPath = path;
    FrameFileKind kind = FrameFileKindOf(path);
    if (kind == FRAME_FILE_CSV) return ReadCsvFrames(nullptr, path, 0);
    if (kind == FRAME_FILE_ILDA) return ReadIldaFrames(nullptr, path, 0);
    return 0;
}

static int PrintInfo(const char* path) {
    FrameFileKind kind = FrameFileKindOf(path);
    if (kind != FRAME_FILE_CSV && kind != FRAME_FILE_ILDA)
        return Refuse("not a readable frame file (.csv or .ild)", path);
    if (!ReadInput(path)) return 1;
    std::printf("Frames: %d\n", (int)frameStore.numFrames);
    if (kind == FRAME_FILE_CSV) {
        std::printf("Scan speed: %d\n", (int)ScanSpeed);
        std::printf("Blanking delay: %d\n", (int)BlankingDelay);
    }
    for (int i = 0; i < frameStore.numFrames; ++i) {
        char name[QUOTED_NAME_SIZE];
        FormatQuotedName(&frameStore.frameNames[i], name);
        std::printf("%d\t%s\t%d\n", i + 1, name, (int)frameStore.pointCounts[i]);
    }
    return std::fflush(stdout) == 0 ? 0 : 1;
}

static int Convert(const ConvertOptions* options) {
    FrameFileKind inKind = FrameFileKindOf(options->input);
    FrameFileKind outKind = FrameFileKindOf(options->output);
    const bool svg = HasFileEnding(options->output, ".SVG");
    const int svgInputs = ClassifySvgInputs(options);
    if (svgInputs == SVG_INPUTS_REFUSED) return 1;
    if (svgInputs == SVG_INPUTS_NONE && inKind != FRAME_FILE_CSV && inKind != FRAME_FILE_ILDA)
        return Refuse("input must be a .csv, .ild or .svg file", options->input);
    if (outKind == FRAME_FILE_NONE && !svg)
        return Refuse("output must be a .csv, .ild, .frm or .svg file", options->output);
    if (options->animate && !svg) return Refuse("--animate needs an .svg output", options->output);
    outputPath = options->output;
    if (!(svgInputs == SVG_INPUTS_ALL ? ReadSvgInputs(options) : ReadInput(options->input)))
        return 1;

    int first = 0, last = frameStore.numFrames - 1;
    if (options->hasRange) {
        if (options->firstFrame < 1 || options->lastFrame < options->firstFrame ||
            options->lastFrame > frameStore.numFrames) {
            std::fprintf(stderr,
                         "quillon-convert: %s: frames %d-%d are not in the file (%d frames)\n",
                         options->input, (int)options->firstFrame, (int)options->lastFrame,
                         (int)frameStore.numFrames);
            return 1;
        }
        first = options->firstFrame - 1;
        last = options->lastFrame - 1;
    }
    if (options->hasSpeed) ScanSpeed = ClampInt(options->speed, SCAN_SPEED_MIN, SCAN_SPEED_MAX);
    if (options->hasDelay)
        BlankingDelay = ClampInt(options->delay, BLANKING_DELAY_MIN, BLANKING_DELAY_MAX);

    int written = 0;
    if (svg) {
        written = options->animate ? WriteSvgAnimation(nullptr, options->output, first, last)
                                   : WriteSvgSheet(nullptr, options->output, first, last);
    }
    if (outKind == FRAME_FILE_CSV) written = WriteCsvFrames(nullptr, options->output, first, last);
    if (outKind == FRAME_FILE_ILDA)
        written = WriteIldaFrames(nullptr, options->output, first, last);
    if (outKind == FRAME_FILE_PACKED)
        written = WritePackedFrames(nullptr, options->output, first, last);
    return written ? 0 : 1;
}

int main(int argc, char** argv) {
    uiPort.warningBox = PrintWarning;
    ConvertOptions options;
    if (argc < 2) {
        PrintConvertUsage(true);
        return 1;
    }
    if (!ParseConvertOptions(argc - 1, argv + 1, &options)) return 1;
    if (options.mode == CONVERT_HELP) {
        PrintConvertUsage(false);
        return 0;
    }
    if (options.mode == CONVERT_VERSION) {
        PrintConvertVersion();
        return std::fflush(stdout) == 0 ? 0 : 1;
    }
    if (options.mode == CONVERT_INFO) return PrintInfo(options.input);
    if (options.mode == CONVERT_CHECK) return CheckFrameFile(options.input);
    return Convert(&options);
}
