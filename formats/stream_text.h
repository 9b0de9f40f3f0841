// Text the converter writes on its standard output and error: UTF-8, and
// frame names as bytes as their files hold them. A console may be given a
// writer of its own (a Windows console takes text as UTF-16 and would show
// bytes in its own code page); every other stream gets the bytes as they
// are. Touches the streams it is given and nothing else.
#pragma once

#include <cstdarg>
#include <cstdio>

enum { STREAM_TEXT_ROOM = 16384 };  // one piece of text written at a time

// Writes NUL-terminated text to the stream if it is a console: 1 when
// written, 0 when the console failed (errno set), -1 when the stream is no
// console or the text is not for it (not UTF-8), so that its bytes go on
// as they are.
typedef int (*ConsoleWriter)(FILE* stream, const char* text);
void InstallConsoleWriter(ConsoleWriter writer);

// 1 when the text went out, 0 when it did not (errno set).
int WriteText(FILE* stream, const char* text);
__attribute__((format(printf, 2, 0))) int PrintTextList(FILE* stream, const char* format,
                                                        va_list args);
__attribute__((format(printf, 2, 3))) int PrintText(FILE* stream, const char* format, ...);
