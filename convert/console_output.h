// The converter's text in a Windows console, which takes text as UTF-16:
// given as bytes it would show them in its own code page, and file names in
// another script as nonsense. Touches nothing but the text output's writer.
#pragma once

// From now on, text for a standard stream that is a console goes to it as
// UTF-16 (formats/stream_text.h).
void UseConsoleWriter();
