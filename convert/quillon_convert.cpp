// quillon-convert: reads a CSV or ILDA frame file with the program's own
// readers, or SVG artwork as frames, and writes it as CSV, ILDA or packed
// with its own writers, or as an SVG picture, or describes or checks it. The
// program's warnings go to stderr; every failure exits 1 (--check has exit
// statuses of its own), output on stdout that does not arrive included. A
// read that left data out is reported there too, but is no failure: the
// output holds what was read and the exit status is 0.
#include <cstdio>
#include <cstring>

#include "convert/convert_options.h"
#include "convert/file_check.h"
#include "convert/run_converter.h"
#include "convert/stop_signals.h"
#include "convert/svg_inputs.h"
#include "document/frame_store.h"
#include "document/number_parse.h"
#include "document/ui_port.h"
#include "formats/csv_file.h"
#include "formats/file_names.h"
#include "formats/frame_fit.h"
#include "formats/ilda_file.h"
#include "formats/ilda_write.h"
#include "formats/name_text.h"
#include "formats/packed_file.h"
#include "formats/stream_text.h"
#include "formats/svg_file.h"
#include "formats/walk_report.h"

// The readers' and writers' warnings, each with the file it concerns as the
// reader or writer named it, and the reason the system gave after the
// text. A message of several lines (what a read left out) gets the prefix
// on each.
static void PrintFileWarning(UiWindow, const char* path, const char* text, const char* caption,
                             int cause) {
    const char* file = path ? path : "";
    const char* colon = path ? ": " : "";
    const char* line = text;
    for (const char* end; (end = std::strchr(line, '\n')) != nullptr; line = end + 1)
        PrintText(stderr, "quillon-convert: %s%s%.*s\n", file, colon, (int)(end - line), line);
    PrintText(stderr, "quillon-convert: %s%s%s (%s)%s%s\n", file, colon, line,
              caption ? caption : "", cause ? ": " : "", cause ? std::strerror(cause) : "");
}

static void PrintWarning(UiWindow owner, const char* text, const char* caption) {
    PrintFileWarning(owner, nullptr, text, caption, 0);
}

static int Refuse(const char* text, const char* path) {
    PrintText(stderr, "quillon-convert: %s: %s\n", path, text);
    return 1;
}

static int ReadInput(const char* path) {
    FrameFileKind kind = FrameFileKindOf(path);
    if (kind == FRAME_FILE_CSV) return ReadCsvFrames(nullptr, path, 0);
    if (kind == FRAME_FILE_ILDA) return ReadIldaFrames(nullptr, path, 0);
    return 0;
}

// What --fit did, when the file had frames for it.
static void ReportFitting(const char* path) {
    StopFitting();
    if (fitAccount.longFrames == 0) return;
    char text[256];
    FormatFitAccount(&fitAccount, false, text, sizeof text);
    PrintText(stderr, "quillon-convert: %s: %s\n", path, text);
}

static int PrintInfo(const char* path) {
    FrameFileKind kind = FrameFileKindOf(path);
    if (kind != FRAME_FILE_CSV && kind != FRAME_FILE_ILDA)
        return Refuse("not a readable frame file (.csv or .ild)", path);
    if (!ReadInput(path)) return 1;
    ReportLine(stdout, "Frames: %d", (int)frameStore.numFrames);
    if (kind == FRAME_FILE_CSV) {
        ReportLine(stdout, "Scan speed: %d", (int)ScanSpeed);
        ReportLine(stdout, "Blanking delay: %d", (int)BlankingDelay);
    }
    for (int i = 0; i < frameStore.numFrames; ++i) {
        char name[QUOTED_NAME_SIZE];
        FormatQuotedName(&frameStore.frameNames[i], name);
        ReportLine(stdout, "%d\t%s\t%d", i + 1, name, (int)frameStore.pointCounts[i]);
    }
    return 0;
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
    if (const char* notFor = OptionNotForOutput(options, svg, outKind == FRAME_FILE_ILDA))
        return Refuse(notFor, options->output);
    if (options->fit) StartFitting();
    if (!(svgInputs == SVG_INPUTS_ALL ? ReadSvgInputs(options) : ReadInput(options->input)))
        return 1;
    if (options->fit) ReportFitting(options->input);

    int first = 0, last = frameStore.numFrames - 1;
    if (options->hasRange) {
        if (options->firstFrame < 1 || options->lastFrame < options->firstFrame ||
            options->lastFrame > frameStore.numFrames) {
            PrintText(stderr, "quillon-convert: %s: frames %d-%d are not in the file (%d frames)\n",
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
        const int extras =
            (options->blanked ? SVG_BLANKED : 0) | (options->markPoints ? SVG_POINTS : 0);
        written = options->animate
                      ? WriteSvgAnimation(nullptr, options->output, first, last, extras)
                      : WriteSvgSheet(nullptr, options->output, first, last, extras);
    }
    if (outKind == FRAME_FILE_CSV) written = WriteCsvFrames(nullptr, options->output, first, last);
    if (outKind == FRAME_FILE_ILDA && options->ildaFormat >= 0)
        written = WriteIldaFormat(nullptr, options->output, first, last, options->ildaFormat,
                                  options->hasColour ? options->colour : 0xFFFFFFu);
    else if (outKind == FRAME_FILE_ILDA)
        written = WriteIldaFrames(nullptr, options->output, first, last);
    if (outKind == FRAME_FILE_PACKED)
        written = WritePackedFrames(nullptr, options->output, first, last);
    return written ? 0 : 1;
}

// Standard output is what --info, --check, --help and --version are for:
// output that did not arrive is a failure (exit status 1), said on stderr.
static int OutputArrived(int status) {
    const int cause = FinishReport(stdout);
    if (!cause) return status;
    PrintText(stderr, "quillon-convert: cannot write to standard output: %s\n",
              std::strerror(cause));
    return 1;
}

int RunConverter(int argc, char** argv) {
    uiPort.warningBox = PrintWarning;
    uiPort.fileWarning = PrintFileWarning;
    InstallStopHandlers();
    ConvertOptions options;
    if (argc < 2) {
        PrintConvertUsage(true);
        return 1;
    }
    if (!ParseConvertOptions(argc - 1, argv + 1, &options)) return 1;
    if (options.mode == CONVERT_HELP) {
        PrintConvertUsage(false);
        return OutputArrived(0);
    }
    if (options.mode == CONVERT_VERSION) {
        PrintConvertVersion();
        return OutputArrived(0);
    }
    if (options.mode == CONVERT_INFO) return OutputArrived(PrintInfo(options.input));
    if (options.mode == CONVERT_CHECK)
        return OutputArrived(CheckFrameFile(
            options.input,
            options.hasSpeed ? ClampInt(options.speed, SCAN_SPEED_MIN, SCAN_SPEED_MAX) : 0));
    return Convert(&options);
}
