// SVG inputs of the converter, read with the artwork importer.
#include "convert/svg_inputs.h"

#include <cstdio>

#include "convert/svg_import.h"
#include "formats/file_names.h"
#include "formats/stream_text.h"

int ClassifySvgInputs(const ConvertOptions* options) {
    const char* other = nullptr;  // the first input that is not SVG
    for (int n = options->inputCount - 1; n >= 0; --n)
        if (!HasFileEnding(options->inputs[n], ".SVG")) other = options->inputs[n];
    if (!other) return SVG_INPUTS_ALL;
    const char* refusal = nullptr;
    if (options->inputCount > 1)
        refusal = "only .svg inputs can be several";
    else if (options->hasDwell || options->hasMargin || options->hasPointBudget)
        refusal = "--dwell, --margin and --points N are for .svg inputs";
    if (!refusal) return SVG_INPUTS_NONE;
    PrintText(stderr, "quillon-convert: %s: %s\n", other, refusal);
    return SVG_INPUTS_REFUSED;
}

int ReadSvgInputs(const ConvertOptions* options) {
    FrameLayoutOptions layout;
    layout.dwell = options->hasDwell ? options->dwell : DWELL_DEFAULT;
    layout.marginPercent = options->hasMargin ? options->margin : MARGIN_DEFAULT;
    layout.budget = options->hasPointBudget ? options->pointBudget : MAX_POINTS;
    for (int n = 0; n < options->inputCount; ++n) {
        char reason[IMPORT_REASON_SIZE];
        if (!ImportSvgFrame(options->inputs[n], &layout, n, reason, sizeof reason)) {
            PrintText(stderr, "quillon-convert: %s: %s\n", options->inputs[n], reason);
            return 0;
        }
    }
    return 1;
}
