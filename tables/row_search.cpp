// The list's incremental search over the first column, wrapping once.
#include "tables/row_search.h"

enum { ROW_TEXT_LENGTH = 32 };

static char Folded(char c) {
    return (c >= 'A' && c <= 'Z') ? (char)(c - 'A' + 'a') : c;
}

static bool StartsWith(const char* text, const char* prefix) {
    for (int i = 0; prefix[i]; ++i) {
        if (!text[i] || Folded(text[i]) != Folded(prefix[i])) return false;
    }
    return true;
}

int FindRowByPrefix(int rowCount, int start, const char* prefix, CellText cellText) {
    if (!prefix || !prefix[0] || rowCount <= 0) return -1;
    if (start < 0 || start >= rowCount) start = 0;
    char text[ROW_TEXT_LENGTH];
    for (int n = 0; n < rowCount; ++n) {
        int row = (start + n) % rowCount;
        cellText(row, 0, text, ROW_TEXT_LENGTH);
        if (StartsWith(text, prefix)) return row;
    }
    return -1;
}
