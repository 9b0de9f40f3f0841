// The texts the two tables show, read from the model when the list asks for
// them: the Vector Table's No., V, X and Y of a point of the working frame,
// the Frame Table's number and name of a stored frame.
#pragma once

// Writes the text of a row's column into text (size bytes, terminated).
typedef void (*CellText)(int row, int column, char* text, int size);

// Columns 0 to 3: row + 1, "1" or "0" for the beam flag, x, and -y.
void VectorCellText(int row, int column, char* text, int size);
// Columns 0 and 1: row + 1, and the 16 name bytes up to a zero byte.
void FrameCellText(int row, int column, char* text, int size);
