// The converter's SVG inputs: which conversions take artwork, and reading
// it into the store as frames. Touches the frame store and stderr.
#pragma once

#include "convert/convert_options.h"

enum { SVG_INPUTS_NONE = 0, SVG_INPUTS_ALL = 1, SVG_INPUTS_REFUSED = 2 };

// SVG_INPUTS_ALL when every input is an .svg file, SVG_INPUTS_NONE when the
// one input is not and no artwork option is given; otherwise prints why and
// gives SVG_INPUTS_REFUSED (several inputs that are not all SVG, artwork
// options for a frame file).
int ClassifySvgInputs(const ConvertOptions* options);

// Makes one frame of each input, in order. Returns 1, or 0 after one
// message naming the file and the reason; the store is then not to be
// written.
int ReadSvgInputs(const ConvertOptions* options);
