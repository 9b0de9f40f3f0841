// List view helpers: one small function per message, plus the answers to
// the virtual list's requests for row texts and for type-ahead.
#include "tables/list_view_win32.h"

#include <uxtheme.h>

#include "tables/row_search.h"

enum { CELL_TEXT_LENGTH = 64, SEARCH_TEXT_LENGTH = 64, MANY_ROW_CHANGES = 200 };

HWND CreateReportList(HWND parent) {
    RECT client;
    GetClientRect(parent, &client);
    HWND list = CreateWindowExA(WS_EX_CLIENTEDGE, WC_LISTVIEWA, "",
                                WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_OWNERDATA, 0, 0,
                                client.right + 1, client.bottom + 1, parent, (HMENU)0,
                                (HINSTANCE)GetWindowLongPtrA(parent, GWLP_HINSTANCE), nullptr);
    if (!list) return nullptr;
    DWORD styles = (DWORD)SendMessageA(list, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0);
    SendMessageA(list, LVM_SETEXTENDEDLISTVIEWSTYLE, 0,
                 styles | LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT);
    return list;
}

void LayOutListOffScreen(HWND list) {
    // The list sizes its rows and writes its scroll bars at its first paint;
    // on the screen each scroll bar write is slow under Wine (the bar is
    // redrawn and the system metrics are read again).
    HDC listDc = GetDC(list);
    if (!listDc) return;
    HDC memory = CreateCompatibleDC(listDc);
    HBITMAP pixel = memory ? CreateCompatibleBitmap(listDc, 1, 1) : nullptr;
    if (pixel) {
        HGDIOBJ old = SelectObject(memory, pixel);
        SendMessageA(list, WM_PRINTCLIENT, (WPARAM)memory, PRF_CLIENT);
        SelectObject(memory, old);
        DeleteObject(pixel);
    }
    if (memory) DeleteDC(memory);
    ReleaseDC(list, listDc);
}

void AddListColumns(HWND list, const ListColumn* columns, int count) {
    // The list lays out its header and scroll bars again after each column
    // (three header moves a column, each a server request under Wine): told
    // to wait, it does so once at the end.
    SendMessageA(list, WM_SETREDRAW, FALSE, 0);
    for (int i = 0; i < count; ++i) {
        LVCOLUMNA column = {};
        column.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT;
        column.fmt = columns[i].format;
        column.cx = columns[i].width;
        column.pszText = (LPSTR)columns[i].header;
        SendMessageA(list, LVM_INSERTCOLUMNA, (WPARAM)i, (LPARAM)&column);
    }
    SendMessageA(list, WM_SETREDRAW, TRUE, 0);
    // Narrower text margins than the header's own: without a visual style
    // they leave the 22-pixel "V" column room only for an ellipsis.
    HWND header = (HWND)SendMessageA(list, LVM_GETHEADER, 0, 0);
    if (header) SendMessageA(header, HDM_SETBITMAPMARGIN, 3, 0);
}

void ResetListColumns(HWND list, const ListColumn* columns, int count) {
    for (int i = 0; i < count; ++i)
        if (SendMessageA(list, LVM_GETCOLUMNWIDTH, (WPARAM)i, 0) != columns[i].width)
            SendMessageA(list, LVM_SETCOLUMNWIDTH, (WPARAM)i, MAKELPARAM(columns[i].width, 0));
    int across = GetScrollPos(list, SB_HORZ);
    if (across > 0) SendMessageA(list, LVM_SCROLL, (WPARAM)-across, 0);
}

static void ReadBar(HWND list, LONG object, SCROLLBARINFO* bar) {
    *bar = {};
    bar->cbSize = sizeof *bar;
    if (!GetScrollBarInfo(list, object, bar)) *bar = {};
}

static bool SameBar(const SCROLLBARINFO& a, const SCROLLBARINFO& b) {
    if (!EqualRect(&a.rcScrollBar, &b.rcScrollBar) || a.dxyLineButton != b.dxyLineButton ||
        a.xyThumbTop != b.xyThumbTop || a.xyThumbBottom != b.xyThumbBottom)
        return false;
    for (int i = 0; i <= CCHILDREN_SCROLLBAR; ++i)
        if (a.rgstate[i] != b.rgstate[i]) return false;
    return true;
}

// The frame (border, scroll bars and the corner between them) is painted
// again, as when a bar is shown or hidden; the rows and header are left alone.
static void RedrawFrame(HWND list) {
    RECT window, client;
    GetWindowRect(list, &window);
    MapWindowPoints(nullptr, list, (POINT*)&window, 2);
    GetClientRect(list, &client);
    HRGN frame = CreateRectRgnIndirect(&window);
    HRGN inside = CreateRectRgnIndirect(&client);
    if (frame && inside && CombineRgn(frame, frame, inside, RGN_DIFF) != ERROR)
        RedrawWindow(list, nullptr, frame, RDW_INVALIDATE | RDW_FRAME | RDW_NOCHILDREN);
    if (frame) DeleteObject(frame);
    if (inside) DeleteObject(inside);
}

static int WindowWidth(HWND window) {
    RECT rect = {};
    if (window) GetWindowRect(window, &rect);
    return rect.right - rect.left;
}

void BeginListUpdate(HWND list, ListUpdate* update) {
    *update = {};
    update->list = list;
    // A list off the screen draws nothing anyway; one with a paint still
    // waiting updates as usual, so that the paint is not lost.
    if (!list || !IsWindowVisible(list) || GetUpdateRect(list, nullptr, FALSE)) return;
    update->header = (HWND)SendMessageA(list, LVM_GETHEADER, 0, 0);
    if (update->header && GetUpdateRect(update->header, nullptr, FALSE)) return;
    update->holding = true;
    ReadBar(list, OBJID_VSCROLL, &update->vertical);
    ReadBar(list, OBJID_HSCROLL, &update->horizontal);
    update->headerWidth = WindowWidth(update->header);
    // The window's redraw flag, not the list's: the list keeps its scroll
    // bars up to date as usual, but under Wine every write to a shown bar
    // draws the whole bar, and a row count change writes it twice.
    DefWindowProcA(list, WM_SETREDRAW, FALSE, 0);
}

bool RowCountChangeWantsHold() {
    return IsThemeActive() && IsAppThemed();
}

bool EndListUpdate(ListUpdate* update) {
    if (!update->holding) return false;
    update->holding = false;
    HWND list = update->list;
    DefWindowProcA(list, WM_SETREDRAW, TRUE, 0);
    // Shown again, the whole frame counts as uncovered: only what changed in
    // it is painted.
    RedrawWindow(list, nullptr, nullptr, RDW_VALIDATE | RDW_NOFRAME | RDW_NOCHILDREN);
    SCROLLBARINFO vertical, horizontal;
    ReadBar(list, OBJID_VSCROLL, &vertical);
    ReadBar(list, OBJID_HSCROLL, &horizontal);
    if (!SameBar(update->vertical, vertical) || !SameBar(update->horizontal, horizontal))
        RedrawFrame(list);
    // A header that grew (a scroll bar went away) shows its new part; one
    // that shrank has nothing new to show.
    int width = WindowWidth(update->header);
    if (width > update->headerWidth) {
        RECT grown;
        GetClientRect(update->header, &grown);
        grown.left = update->headerWidth;
        InvalidateRect(update->header, &grown, TRUE);
    }
    return true;
}

void RenewListRows(HWND list, int count) {
    HWND header = (HWND)SendMessageA(list, LVM_GETHEADER, 0, 0);
    bool headerDrawn = header && IsWindowVisible(header) && !GetUpdateRect(header, nullptr, FALSE);
    int headerWidth = WindowWidth(header);
    // Told to wait, the list neither draws nor asks for a paint of each row
    // whose state goes, nor writes its scroll bars for each change: it does
    // both once when told to go on. Deleting every row clears all states in
    // one step; clearing them row by row visits every row.
    SendMessageA(list, WM_SETREDRAW, FALSE, 0);
    SendMessageA(list, LVM_DELETEALLITEMS, 0, 0);
    SetListRowCount(list, count);
    SendMessageA(list, WM_SETREDRAW, TRUE, 0);
    // Going on, the list asked for a paint of all of itself, header included,
    // and the header costs more to draw than the rows under Wine: a header
    // that was drawn and kept its width stays as it is.
    if (!headerDrawn || WindowWidth(header) != headerWidth) return;
    RECT headerRect;
    GetWindowRect(header, &headerRect);
    MapWindowPoints(nullptr, list, (POINT*)&headerRect, 2);
    RedrawWindow(list, &headerRect, nullptr, RDW_VALIDATE | RDW_NOCHILDREN);
    RedrawWindow(header, nullptr, nullptr, RDW_VALIDATE);
}

void SetListRowCount(HWND list, int count) {
    SendMessageA(list, LVM_SETITEMCOUNT, (WPARAM)count, LVSICF_NOINVALIDATEALL | LVSICF_NOSCROLL);
}

bool BeginRowStateChanges(HWND list, int changes) {
    bool once = changes > MANY_ROW_CHANGES || (changes > 1 && !IsWindowVisible(list));
    if (once) SendMessageA(list, WM_SETREDRAW, FALSE, 0);
    return once;
}

void EndRowStateChanges(HWND list, bool once) {
    if (once) SendMessageA(list, WM_SETREDRAW, TRUE, 0);
}

void ClearListRowStates(HWND list) {
    int selected = SelectedListRowCount(list);
    bool once = BeginRowStateChanges(list, selected);
    if (selected > 0) SetListRowState(list, -1, 0, LVIS_SELECTED);
    EndRowStateChanges(list, once);
    int focused = NextListRow(list, -1, LVNI_FOCUSED);
    if (focused >= 0) SetListRowState(list, focused, 0, LVIS_FOCUSED);
    SetListSelectionMark(list, -1);
}

void GetListCell(HWND list, int row, int column, char* text, int size) {
    text[0] = 0;
    LVITEMA item = {};
    item.iSubItem = column;
    item.pszText = text;
    item.cchTextMax = size;
    SendMessageA(list, LVM_GETITEMTEXTA, (WPARAM)row, (LPARAM)&item);
}

void RedrawListRows(HWND list, int first, int last) {
    SendMessageA(list, LVM_REDRAWITEMS, (WPARAM)first, (LPARAM)last);
}

void RedrawAllListRows(HWND list) {
    // Below the header only: a whole-list invalidation would repaint the
    // header too, which costs more than all the rows under Wine.
    RECT rows;
    GetClientRect(list, &rows);
    HWND header = (HWND)SendMessageA(list, LVM_GETHEADER, 0, 0);
    RECT headerRect;
    if (header && IsWindowVisible(header) && GetWindowRect(header, &headerRect)) {
        MapWindowPoints(nullptr, list, (POINT*)&headerRect, 2);
        if (headerRect.bottom > rows.top) rows.top = headerRect.bottom;
    }
    InvalidateRect(list, &rows, TRUE);
}

void SetListRowState(HWND list, int row, UINT state, UINT mask) {
    LVITEMA item = {};
    item.stateMask = mask;
    item.state = state;
    SendMessageA(list, LVM_SETITEMSTATE, (WPARAM)row, (LPARAM)&item);
}

UINT GetListRowState(HWND list, int row, UINT mask) {
    return (UINT)SendMessageA(list, LVM_GETITEMSTATE, (WPARAM)row, (LPARAM)mask);
}

int NextListRow(HWND list, int start, UINT flags) {
    return (int)SendMessageA(list, LVM_GETNEXTITEM, (WPARAM)start, MAKELPARAM(flags, 0));
}

int SelectedListRows(HWND list, int* rows, int limit) {
    int count = 0;
    for (int row = NextListRow(list, -1, LVNI_SELECTED); row >= 0 && count < limit;) {
        rows[count++] = row;
        int next = NextListRow(list, row, LVNI_SELECTED);
        row = next > row ? next : -1;
    }
    return count;
}

int ListRowCount(HWND list) {
    return (int)SendMessageA(list, LVM_GETITEMCOUNT, 0, 0);
}

int ListTopRow(HWND list) {
    return (int)SendMessageA(list, LVM_GETTOPINDEX, 0, 0);
}

int ListRowsPerPage(HWND list) {
    return (int)SendMessageA(list, LVM_GETCOUNTPERPAGE, 0, 0);
}

int SelectedListRowCount(HWND list) {
    return (int)SendMessageA(list, LVM_GETSELECTEDCOUNT, 0, 0);
}

int ListSelectionMark(HWND list) {
    return (int)SendMessageA(list, LVM_GETSELECTIONMARK, 0, 0);
}

void SetListSelectionMark(HWND list, int row) {
    SendMessageA(list, LVM_SETSELECTIONMARK, 0, (LPARAM)row);
}

void ScrollListRows(HWND list, int rows) {
    DWORD spacing = (DWORD)SendMessageA(list, LVM_GETITEMSPACING, TRUE, 0);
    int rowHeight = HIWORD(spacing);
    SendMessageA(list, LVM_SCROLL, 0, (LPARAM)(rows * rowHeight));
}

void EnsureListRowVisible(HWND list, int row) {
    SendMessageA(list, LVM_ENSUREVISIBLE, (WPARAM)row, FALSE);
}

void TrackPopupFromResource(HWND owner, int menuId) {
    HINSTANCE instance = (HINSTANCE)GetWindowLongPtrA(owner, GWLP_HINSTANCE);
    HMENU menu = LoadMenuA(instance, MAKEINTRESOURCEA(menuId));
    if (!menu) return;
    HMENU popup = GetSubMenu(menu, 0);
    if (popup) {
        POINT pointer;
        GetCursorPos(&pointer);
        TrackPopupMenu(popup, TPM_LEFTALIGN | TPM_LEFTBUTTON, pointer.x, pointer.y, 0, owner,
                       nullptr);
    }
    DestroyMenu(menu);
}

static void AnswerDisplayInfo(const NMHDR* header, CellText cellText) {
    if (header->code == LVN_GETDISPINFOA) {
        LVITEMA& item = ((NMLVDISPINFOA*)header)->item;
        if ((item.mask & LVIF_TEXT) && item.pszText && item.cchTextMax > 0)
            cellText(item.iItem, item.iSubItem, item.pszText, item.cchTextMax);
        return;
    }
    LVITEMW& item = ((NMLVDISPINFOW*)header)->item;
    if (!(item.mask & LVIF_TEXT) || !item.pszText || item.cchTextMax <= 0) return;
    char text[CELL_TEXT_LENGTH];
    cellText(item.iItem, item.iSubItem, text, CELL_TEXT_LENGTH);
    // The same code page the narrow messages are converted with.
    WCHAR wide[CELL_TEXT_LENGTH] = L"";
    MultiByteToWideChar(CP_ACP, 0, text, -1, wide, CELL_TEXT_LENGTH);
    lstrcpynW(item.pszText, wide, item.cchTextMax);
}

static LRESULT AnswerFindItem(const NMHDR* header, CellText cellText) {
    char prefix[SEARCH_TEXT_LENGTH] = "";
    int start = 0;
    if (header->code == LVN_ODFINDITEMA) {
        const NMLVFINDITEMA* find = (const NMLVFINDITEMA*)header;
        if (!(find->lvfi.flags & (LVFI_STRING | LVFI_PARTIAL)) || !find->lvfi.psz) return -1;
        lstrcpynA(prefix, find->lvfi.psz, SEARCH_TEXT_LENGTH);
        start = find->iStart;
    } else {
        const NMLVFINDITEMW* find = (const NMLVFINDITEMW*)header;
        if (!(find->lvfi.flags & (LVFI_STRING | LVFI_PARTIAL)) || !find->lvfi.psz) return -1;
        if (!WideCharToMultiByte(CP_ACP, 0, find->lvfi.psz, -1, prefix, SEARCH_TEXT_LENGTH, nullptr,
                                 nullptr))
            return -1;
        start = find->iStart;
    }
    HWND list = header->hwndFrom;
    return FindRowByPrefix(ListRowCount(list), start, prefix, cellText);
}

bool AnswerRowRequest(const NMHDR* header, CellText cellText, LRESULT* result) {
    switch (header->code) {
        case LVN_GETDISPINFOA:
        case LVN_GETDISPINFOW:
            AnswerDisplayInfo(header, cellText);
            *result = 0;
            return true;
        case LVN_ODFINDITEMA:
        case LVN_ODFINDITEMW:
            *result = AnswerFindItem(header, cellText);
            return true;
        default:
            return false;
    }
}
