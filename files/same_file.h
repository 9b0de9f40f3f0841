// Whether two file names lead to one file, however each is spelled
// (relative or absolute, through links, in another case where the file
// system ignores case).
#pragma once

// 1 when both names lead to one existing file, 0 otherwise (also when either
// is missing). Decided by the file's identity on its device, as the C
// library reports it; where it reports none, by the names as spelled.
int SameFileByIdentity(const char* a, const char* b);
