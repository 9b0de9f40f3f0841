// Thin helpers over the report-view list view messages used by both tables.
#pragma once

#include <windows.h>

HWND CreateReportList(HWND parent);
// A tool window owned by the main window, placed at its client area's top left.
HWND CreateToolWindow(HWND mainWindow, const char* className, const char* title, int width,
                      int height);
void AddListColumn(HWND list, int index, const char* header, int width, int format);
int InsertListRow(HWND list, int row, const char* firstColumn);
void SetListCell(HWND list, int row, int column, const char* text);
void GetListCell(HWND list, int row, int column, char* text, int size);
void SetListRowState(HWND list, int row, UINT state, UINT mask);
UINT GetListRowState(HWND list, int row, UINT mask);
// LVM_GETNEXTITEM from start (-1 for the first) with the given LVNI_ flags.
int NextListRow(HWND list, int start, UINT flags);
int ListRowCount(HWND list);
int ListTopRow(HWND list);
// Scrolls down by rows rows of the list's row height.
void ScrollListRows(HWND list, int rows);
void EnsureListRowVisible(HWND list, int row);
// Tracks popup menu resource id's first submenu at the pointer, owned by owner.
void TrackPopupFromResource(HWND owner, int menuId);
