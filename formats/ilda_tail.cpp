// The sections after an ILDA closing header.
#include "formats/ilda_tail.h"

#include <cstring>

#include "formats/ilda_layout.h"

void ScanIldaTail(IldaInput* in, int32_t section, IldaTail* tail) {
    std::memset(tail, 0, sizeof *tail);
    tail->sectionsEnd = IldaOffset(in);
    while (IldaSectionFollows(in)) {
        const unsigned char* header = in->block + in->pos;
        const unsigned records = IldaBigEndian16(header + ILDA_COUNT_OFFSET);
        const unsigned format = header[ILDA_FORMAT_OFFSET];
        const size_t size = IldaRecordSize(format);
        const bool palette = format == ILDA_FORMAT_PALETTE;
        if (records > 0 && size > 0 && !palette) {
            tail->frameSection = section + tail->sections + 1;
            return;
        }
        if (records > 0 && !palette) return;  // a format no reader here takes
        in->pos += ILDA_HEADER_SIZE;
        if (records > 0 && SkipIldaRecords(in, records, size) < records) return;
        tail->sections += 1;
        if (palette && records > 0)
            tail->palettes += 1;
        else
            tail->closings += 1;
        tail->sectionsEnd = IldaOffset(in);
    }
}
