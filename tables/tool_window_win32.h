// The window code both tables share: opening, closing and keeping the tool
// window, its window procedure and its list of rows. Each table gives only
// what is its own: columns, row texts, what a change of rows means and the
// commands. A closed table keeps its window, hidden: opening it again puts
// that window back where a new one would open, which under Wine costs a
// fraction of creating a window and its list anew.
#pragma once

#include <windows.h>
// commctrl.h needs windows.h first.
#include <commctrl.h>

#include "tables/list_view_win32.h"

struct ToolWindowKind {
    const char* className;
    const char* title;
    int width, height;
};

struct ToolTable {
    ToolWindowKind kind;
    const ListColumn* columns;
    int columnCount;
    CellText cellText;
    int popupMenuId;  // the menu resource shown on a right click
    // The table's handles, null while it is closed.
    HWND* window;
    HWND* list;
    // Fills the rows of a table just opened, before it is shown.
    void (*fillRows)();
    // Rows changed state (LVN_ITEMCHANGED, LVN_ODSTATECHANGED).
    void (*rowsChanged)(const NMHDR* header);
    // Before the popup menu of a right click; may be null.
    void (*rightClicked)();
    // One of the table's commands (CMD_TABLE_DELETE, CMD_TABLE_INSERT,
    // CMD_TABLE_EDIT and its own), from the popup menu, a key or a double
    // click. Never called while a modal step is open.
    void (*command)(int id);
    HWND kept;  // the window while the table is closed (null before the first opening)
};

// The table's window procedure: the list as the window's only child, sized
// to it; Enter, Insert and Delete in the list and a double click as the edit,
// insert and delete commands; closing keeps the window.
LRESULT ToolTableProc(ToolTable* table, HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Opens the table at the main window's client area's top left if it is
// closed, closes it if it is open.
void ToggleToolTable(ToolTable* table, HWND mainWindow);
