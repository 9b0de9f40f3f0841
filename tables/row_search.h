// Type-ahead in a table: the row whose first column starts with what the
// user typed.
#pragma once

#include "tables/row_texts.h"

// Searches rows start to rowCount - 1, then 0 to start - 1, for the first
// whose column 0 text begins with prefix (ASCII letters compared without
// case). Returns that row, or -1 when none does or prefix is empty.
int FindRowByPrefix(int rowCount, int start, const char* prefix, CellText cellText);
