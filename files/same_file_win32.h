// Whether two file names lead to one file, as Windows sees it.
#pragma once

// 1 when both names lead to one existing file: same volume and file index,
// so case, relative names, short names and links make no difference. Where
// the file system gives no index, the full names are compared without
// regard to case.
int SameFileOnVolume(const char* a, const char* b);
