// Frame names through CSV files: every byte of a name but CR, LF and the
// zero byte comes back from a save and reopen, CR and LF never split a line,
// and every name line the earlier writer wrote still reads as it did.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "document/frame_store.h"
#include "formats/csv_file.h"
#include "tests/native/frame_bytes.h"
#include "tests/native/temp_files.h"
#include "tests/native/ui_recorder.h"

namespace {

std::string Name(int slot) {
    return std::string(frameStore.frameNames[slot].bytes, 16);
}

void PutNamedFrame(int slot, const std::string& name16) {
    workingFrame.count = 1;
    workingFrame.points[0] = {POINT_VISIBLE, (int16_t)slot, (int16_t)-slot};
    StoreFrame(slot, true);
    std::memcpy(frameStore.frameNames[slot].bytes, name16.data(), 16);
}

// The name line the earlier writer wrote: the name up to a zero byte, in
// double quotes when it held a comma or began with "+", bare otherwise.
std::string EarlierNameLine(const std::string& name16) {
    std::string name = name16.substr(0, name16.find('\0'));
    bool quote = name.find(',') != std::string::npos || (!name.empty() && name[0] == '+');
    return quote ? "\"" + name + "\"" : name;
}

// What the earlier reader made of a name line.
std::string EarlierReading(const std::string& line) {
    std::string name(16, ' ');
    const bool quoted = !line.empty() && line[0] == '"';
    for (size_t n = 0, i = quoted ? 1 : 0; n < 16 && i < line.size(); ++n, ++i) {
        unsigned char c = (unsigned char)line[i];
        if (c < 0x20 || c >= 0x80) break;
        if (quoted ? c == '"' : c == ',') break;
        name[n] = (char)c;
    }
    return name;
}

class CsvNamesTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetDocument();
        ui = InstallUiRecorder();
    }
    std::string Path(const char* name) const { return folder.Path(name); }

    UiRecorder* ui;
    TempFolder folder{"quillon-names"};
};

// Each byte value but 0, 10 and 13 at the start, in the middle and at the
// end of a name, and the forms that used to change: a leading double quote,
// a double quote with a comma, bytes of 0x80 and above, control bytes.
std::vector<std::string> TrickyNames() {
    std::vector<std::string> names;
    for (int b = 1; b < 256; ++b) {
        if (b == '\n' || b == '\r') continue;
        for (int at : {0, 7, 15}) {
            std::string name = "name with byte!!";
            name[at] = (char)b;
            names.push_back(name);
        }
    }
    const char* forms[] = {"\"quoted start",
                           "a\"b,c",
                           "\"a,b\"",
                           "+\"plus quote",
                           "Caf\xC3\xA9",
                           "\xA9 2001 lasers",
                           "\"\"\"\"\"\"\"\"\"\"\"\"\"\"\"\"",
                           ",,,,,,,,,,,,,,,,",
                           "\"",
                           "\x01\x02\x03\x7F\x80\x81\xFE\xFF\"\",,++",
                           "\"hi\",",
                           ""};
    for (const char* form : forms) names.push_back(Padded(form));
    return names;
}

TEST_F(CsvNamesTest, EveryNameByteButLineBreaksAndZeroSurvives) {
    std::vector<std::string> names = TrickyNames();
    ASSERT_LT(names.size(), 1000u);
    for (size_t f = 0; f < names.size(); ++f) PutNamedFrame((int)f, names[f]);
    ASSERT_EQ(WriteCsvFrames(nullptr, Path("names.csv").c_str(), 0, (int)names.size() - 1), 1);
    ResetDocument();
    ASSERT_EQ(ReadCsvFrames(nullptr, Path("names.csv").c_str(), 0), 1);
    ASSERT_EQ(frameStore.numFrames, (int)names.size());
    for (size_t f = 0; f < names.size(); ++f) {
        EXPECT_EQ(Name((int)f), names[f]) << "frame " << f;
        EXPECT_EQ(frameStore.pointCounts[f], 1) << f;
        EXPECT_EQ(frameStore.frames[f][0].x, (int)f) << f;
    }
    EXPECT_EQ(ui->Count("warning"), 0);
    // Every line of the file is whole: within one 49-character piece.
    std::string text = ReadWholeFile(Path("names.csv"));
    for (size_t at = 0, end; (end = text.find("\r\n", at)) != std::string::npos; at = end + 2)
        ASSERT_LE(end - at, 49u) << text.substr(at, end - at);
}

// Names the earlier reader read back are written as before, the rest in the
// full form; CR and LF are written as spaces, so they never split a line.
TEST_F(CsvNamesTest, NamesThatUsedToReadBackAreWrittenAsBeforeTheRestInFullForm) {
    struct Case {
        std::string name;
        std::string line;
    } cases[] = {
        {Padded("Star"), Padded("Star")},
        {Padded("a,b"), "\"" + Padded("a,b") + "\""},
        {Padded("+plus"), "\"" + Padded("+plus") + "\""},
        {Padded("say \"hi\""), Padded("say \"hi\"")},  // a quote inside a bare name is a letter
        {std::string("ab\0zzzzzzzzzzzzz", 16), "ab"},
        {Padded("Caf\xE9"), "\"" + Padded("Caf\xE9") + "\","},
        {Padded("\"hi"), "\"\"\"hi             \","},
        {Padded("a\",b"), "\"a\"\",b            \","},
        {Padded("tab\there"), "\"" + Padded("tab\there") + "\","},
        {"two\nlines\r\n1,2,3", "\"two lines  1,2,3\""},
        {Padded("\r\n+\n\xE9"), "\"" + Padded("  + \xE9") + "\","},
    };
    for (const Case& c : cases) {
        ASSERT_EQ(c.name.size(), 16u);
        ResetDocument();
        PutNamedFrame(0, c.name);
        ASSERT_EQ(WriteCsvFrames(nullptr, Path("one.csv").c_str(), 0, 0), 1);
        EXPECT_EQ(ReadWholeFile(Path("one.csv")), "VECTOR,30000,3\r\n" + c.line + "\r\n1,0,0\r\n")
            << c.line;
    }
}

// Every name line the earlier writer could write, for names made of the
// bytes that matter to its rules, reads as the earlier reader read it.
TEST_F(CsvNamesTest, LinesTheEarlierWriterWroteReadAsTheyDid) {
    const char alphabet[] = {'"',  ',',    '+',    ' ',    'a',    'Z',    '1',    '-',
                             '\t', '\x01', '\x1F', '\x7F', '\x80', '\xA9', '\xFF', '\0'};
    std::vector<std::string> lines;
    // Every name of up to three of these bytes, padded with spaces...
    for (size_t length = 0; length <= 3; ++length) {
        size_t combinations = 1;
        for (size_t i = 0; i < length; ++i) combinations *= sizeof alphabet;
        for (size_t k = 0; k < combinations; ++k) {
            std::string name(16, ' ');
            for (size_t i = 0, rest = k; i < length; ++i, rest /= sizeof alphabet)
                name[i] = alphabet[rest % sizeof alphabet];
            lines.push_back(EarlierNameLine(name));
        }
    }
    // ...and full 16-byte names drawn from them.
    unsigned seed = 7;
    for (int k = 0; k < 3000; ++k) {
        std::string name(16, ' ');
        for (char& c : name) {
            seed = seed * 1103515245u + 12345u;
            c = alphabet[(seed >> 16) % sizeof alphabet];
        }
        lines.push_back(EarlierNameLine(name));
    }
    // In files of up to 1000 frames, one point each.
    for (size_t first = 0; first < lines.size(); first += 1000) {
        const size_t count = std::min<size_t>(1000, lines.size() - first);
        std::string text = "VECTOR,30000,3\r\n";
        for (size_t i = 0; i < count; ++i)
            text += (i ? "+\r\n" : "") + lines[first + i] + "\r\n1,2,3\r\n";
        ASSERT_TRUE(WriteWholeFile(Path("earlier.csv"), text));
        ResetDocument();
        ASSERT_EQ(ReadCsvFrames(nullptr, Path("earlier.csv").c_str(), 0), 1);
        ASSERT_EQ(frameStore.numFrames, (int)count);
        for (size_t i = 0; i < count; ++i) {
            ASSERT_EQ(Name((int)i), EarlierReading(lines[first + i])) << lines[first + i];
            ASSERT_EQ(frameStore.pointCounts[i], 1) << lines[first + i];
        }
    }
    EXPECT_EQ(ui->Count("warning"), 0);
}

}  // namespace
