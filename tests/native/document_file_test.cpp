// Choosing the reader or writer by a name's ending, and the remembered file
// state.
#include "files/document_file.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(FrameFileKind, LastFourCharactersWithoutCase) {
    EXPECT_EQ(FrameFileKindOf("C:\\shows\\DATA.Csv"), FRAME_FILE_CSV);
    EXPECT_EQ(FrameFileKindOf("a.csv"), FRAME_FILE_CSV);
    EXPECT_EQ(FrameFileKindOf("show.ILD"), FRAME_FILE_ILDA);
    EXPECT_EQ(FrameFileKindOf("show.iLd"), FRAME_FILE_ILDA);
    EXPECT_EQ(FrameFileKindOf("out.frm"), FRAME_FILE_PACKED);
    EXPECT_EQ(FrameFileKindOf(".csv"), FRAME_FILE_CSV);  // exactly four characters
}

TEST(FrameFileKind, OtherNamesHaveNoReaderOrWriter) {
    EXPECT_EQ(FrameFileKindOf("a.txt"), FRAME_FILE_NONE);
    EXPECT_EQ(FrameFileKindOf("show."), FRAME_FILE_NONE);
    EXPECT_EQ(FrameFileKindOf("csv"), FRAME_FILE_NONE);
    EXPECT_EQ(FrameFileKindOf(""), FRAME_FILE_NONE);
    EXPECT_EQ(FrameFileKindOf("show.csv "), FRAME_FILE_NONE);
    EXPECT_EQ(FrameFileKindOf("show.csvx"), FRAME_FILE_NONE);
    EXPECT_EQ(FrameFileKindOf("show_csv"), FRAME_FILE_NONE);
    EXPECT_EQ(FrameFileKindOf(nullptr), FRAME_FILE_NONE);
}

TEST(RememberedFile, StartsEmptyOnTheCsvType) {
    FilterIndex = 3;
    RememberDocumentFile(2, "x.ild", "x.ild");
    ResetDocumentFile();
    EXPECT_EQ(FilterIndex, 1);
    EXPECT_STREQ(DocumentPath, "");
    EXPECT_STREQ(DocumentFileTitle, "");
    EXPECT_STREQ(DefaultExtensions[FilterIndex], "csv");
}

TEST(RememberedFile, KeepsOnlyTypeIndexesOfTheSaveList) {
    ResetDocumentFile();
    RememberDocumentFile(4, "Z:\\a\\b.csv", "b.csv");
    EXPECT_EQ(FilterIndex, 4);
    EXPECT_STREQ(DocumentPath, "Z:\\a\\b.csv");
    EXPECT_STREQ(DocumentFileTitle, "b.csv");
    RememberDocumentFile(0, "c.csv", nullptr);  // no dialog: type and title stay
    EXPECT_EQ(FilterIndex, 4);
    EXPECT_STREQ(DocumentPath, "c.csv");
    EXPECT_STREQ(DocumentFileTitle, "b.csv");
    RememberDocumentFile(5, "d.csv", "d.csv");
    RememberDocumentFile(-2, "d.csv", "d.csv");
    EXPECT_EQ(FilterIndex, 4);
}

// A cut path could name another, existing file: the next save asks instead.
// The title is only shown, so it is cut, but between whole characters.
TEST(RememberedFile, OverlongPathsAreNotKeptAndTitlesAreCutBetweenCharacters) {
    ResetDocumentFile();
    RememberDocumentFile(1, "Z:\\kept.csv", "kept.csv");
    const std::string path(DOCUMENT_PATH_LENGTH, 'p');
    std::string title = "a";  // so that the buffer ends inside a character
    while (title.size() < DOCUMENT_TITLE_LENGTH) title += "\xE3\x82\xB7";  // katakana shi
    RememberDocumentFile(1, path.c_str(), title.c_str());
    EXPECT_STREQ(DocumentPath, "");
    EXPECT_EQ(std::string(DocumentFileTitle),
              title.substr(0, 1 + (DOCUMENT_TITLE_LENGTH - 2) / 3 * 3));

    const std::string longest(DOCUMENT_PATH_LENGTH - 1, 'p');
    RememberDocumentFile(1, longest.c_str(), nullptr);
    EXPECT_EQ(std::string(DocumentPath), longest);
}

TEST(RememberedFile, TitleIsTheNameAfterTheFolders) {
    EXPECT_STREQ(FileTitleOf("Z:\\tmp\\show.csv"), "show.csv");
    EXPECT_STREQ(FileTitleOf("/tmp/x/a.ild"), "a.ild");
    EXPECT_STREQ(FileTitleOf("C:a.csv"), "a.csv");
    EXPECT_STREQ(FileTitleOf("plain.csv"), "plain.csv");
    EXPECT_STREQ(FileTitleOf("Z:\\dir\\"), "");
}

}  // namespace
