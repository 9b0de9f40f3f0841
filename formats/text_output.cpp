// The block of text output in front of the atomic writer.
#include "formats/text_output.h"

int BeginTextOutput(TextOutput* out, UiWindow owner, const char* path) {
    out->cursor = out->buffer;
    return BeginAtomicWrite(&out->file, owner, path);
}

void FlushTextOutput(TextOutput* out) {
    AtomicWriteBytes(&out->file, out->buffer, (size_t)(out->cursor - out->buffer));
    out->cursor = out->buffer;
}

int FinishTextOutput(TextOutput* out, UiWindow owner) {
    FlushTextOutput(out);
    return FinishAtomicWrite(&out->file, owner);
}
