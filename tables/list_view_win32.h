// Thin helpers over the report-view list view messages used by both tables.
// Both lists are virtual (owner data): they keep only the row count, the
// selection and the focus, and ask their window for the text of each row
// they show.
#pragma once

#include <windows.h>
// commctrl.h needs windows.h first.
#include <commctrl.h>

#include "tables/row_texts.h"

HWND CreateReportList(HWND parent);
// Lets a list that is not shown yet lay out its rows by drawing them once
// off the screen, so that its first paint on the screen only draws.
void LayOutListOffScreen(HWND list);
struct ListColumn {
    const char* header;
    int width;
    int format;  // LVCFMT_
};
// Gives a list that is not shown yet its columns, in order.
void AddListColumns(HWND list, const ListColumn* columns, int count);
// Puts back the widths AddListColumns gave and scrolls back to the first
// column, for a list shown again after the user may have changed them.
void ResetListColumns(HWND list, const ListColumn* columns, int count);
// Several changes to a shown list (row count, scroll position, states) drawn
// as one: between the two calls nothing of the list is drawn, and the end asks
// for a paint of the frame and the header only where they changed. The end
// returns true when the list's own requests for rows to be drawn were dropped
// (the list was shown and had no paint waiting): the caller then asks for the
// rows that changed (RedrawAllListRows, RedrawListRows). A ListUpdate that
// was zeroed and not begun ends as nothing.
struct ListUpdate {
    HWND list;
    HWND header;
    bool holding;
    SCROLLBARINFO vertical, horizontal;
    int headerWidth;
};
void BeginListUpdate(HWND list, ListUpdate* update);
// Whether a new row count alone is worth holding a list for. It writes the
// scroll bar twice: under Wine a bar drawn in a visual style costs dozens of
// server round trips each time, a classic one a few, fewer than holding.
bool RowCountChangeWantsHold();
bool EndListUpdate(ListUpdate* update);
// Around a run of row state changes: the list draws each row it changes; past
// a few pages, or when it is not shown (off the screen or held by
// BeginListUpdate), it is cheaper to stop that and draw it once at the end.
// Pass the number of rows about to change; hand the result to the end.
bool BeginRowStateChanges(HWND list, int changes);
void EndRowStateChanges(HWND list, bool once);
// Changes the row count, keeping the selection and focus of the rows that
// stay and the scroll position as far as the list allows.
void SetListRowCount(HWND list, int count);
// The rows as if the list were filled afresh with count rows: none selected
// or focused, no selection mark, the scroll position kept as far as the list
// allows. Whatever the list tells its window meanwhile comes from this call.
// The rows are drawn again at the next paint.
void RenewListRows(HWND list, int count);
// Clears the selection, the focus and the selection mark of every row. The
// list notifies its window of the changes as usual.
void ClearListRowStates(HWND list);
void GetListCell(HWND list, int row, int column, char* text, int size);
// Asks the list to show the current texts of rows first to last again.
void RedrawListRows(HWND list, int first, int last);
void RedrawAllListRows(HWND list);
void SetListRowState(HWND list, int row, UINT state, UINT mask);
UINT GetListRowState(HWND list, int row, UINT mask);
// LVM_GETNEXTITEM from start (-1 for the first) with the given LVNI_ flags.
int NextListRow(HWND list, int start, UINT flags);
// The selected rows in order, at most limit of them, into rows; returns how
// many.
int SelectedListRows(HWND list, int* rows, int limit);
int ListRowCount(HWND list);
int ListTopRow(HWND list);
// Rows that fit the list's height entirely.
int ListRowsPerPage(HWND list);
int SelectedListRowCount(HWND list);
int ListSelectionMark(HWND list);
void SetListSelectionMark(HWND list, int row);
// Scrolls down by rows rows of the list's row height.
void ScrollListRows(HWND list, int rows);
void EnsureListRowVisible(HWND list, int row);
// Tracks popup menu resource id's first submenu at the pointer, owned by owner.
void TrackPopupFromResource(HWND owner, int menuId);

// The virtual list's own requests: the text of a row it draws
// (LVN_GETDISPINFO) and the row its type-ahead lands on (LVN_ODFINDITEM,
// found by the start of the first column's text), in either character width.
// Returns true with *result set when header is one of them. They are answered
// whatever else is going on: without them the list shows empty rows.
bool AnswerRowRequest(const NMHDR* header, CellText cellText, LRESULT* result);
