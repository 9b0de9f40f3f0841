// UTF-8 text to a Windows console through WriteConsoleW. Text that is not
// UTF-8 (a frame name in a file's own code page) goes to the console as
// bytes, which it shows in its code page, as before.
#include <io.h>
#include <windows.h>

#include <cerrno>

#include "convert/console_output.h"
#include "formats/stream_text.h"
#include "formats/utf16_text.h"

static int WriteToConsole(FILE* stream, const char* text) {
    const HANDLE handle = (HANDLE)_get_osfhandle(_fileno(stream));
    DWORD mode;
    if (handle == INVALID_HANDLE_VALUE || !GetConsoleMode(handle, &mode)) return -1;
    static wchar_t wide[STREAM_TEXT_ROOM];
    const int units = WidenText(text, wide, STREAM_TEXT_ROOM);
    if (units < 0) return -1;
    // What went through the stream before comes first.
    std::fflush(stream);
    for (int done = 0; done < units;) {
        DWORD written = 0;
        if (!WriteConsoleW(handle, wide + done, (DWORD)(units - done), &written, nullptr) ||
            written == 0) {
            errno = EIO;
            return 0;
        }
        done += (int)written;
    }
    return 1;
}

void UseConsoleWriter() {
    InstallConsoleWriter(WriteToConsole);
}
