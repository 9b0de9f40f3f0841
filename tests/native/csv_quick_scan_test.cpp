// The CSV reader's quick scan, both ways: whatever lines a way takes, it
// reads them as the general way does and stops at a line's end, so that a
// read made of quick scans and the general way for what they leave is the
// general way's read of the same text. Mixed lines move every kind of line
// across the 64-byte window of the SSE2 way, and the bytes beyond the data's
// end hold plain lines that neither way may take.
#include "formats/csv_quick_scan.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace {

typedef int (*QuickScan)(const char* p, VectorPoint* out, int* taken);

struct Way {
    const char* name;
    QuickScan scan;
};

const Way ways[] = {
    {"portable", QuickPointLinesPortable},
#if defined(__SSE2__)
    {"SSE2", QuickPointLinesSse2},
#endif
};

// Plain lines, and lines the quick scan must leave to the general way.
const char* const lines[] = {
    "1,2,3\n",
    "0,-32768,32767\r\n",
    "1,12345678,-12345678\n",
    "99999999,0,-0\n",
    "3,40000,-7\n",
    "1,123456789,5\n",
    "+1,2,3\n",
    " 1,2,3\n",
    "1 ,2,3\n",
    "1,2,3,4\n",
    "1,2\n",
    "\n",
    "\r\n",
    "name\n",
    "+\n",
    "-,1,2\n",
    "1,-,2\n",
    "--1,2,3\n",
    "1,2,3\r\r\n",
    "12,,3\n",
};

struct Read {
    std::vector<VectorPoint> points;
    bool stoppedInsideALine = false;
};

// The line at p (up to its LF or the data's end), as the general way takes
// it: a CR directly before the LF dropped, the LF not kept.
std::string LineAt(const std::string& data, size_t p) {
    size_t end = data.find('\n', p);
    if (end == std::string::npos) end = data.size();
    std::string line = data.substr(p, end - p);
    if (end < data.size() && !line.empty() && line.back() == '\r') line.pop_back();
    return line;
}

void ReadGenerally(const std::string& line, Read* read) {
    int32_t fields[3];
    if (!ParseCsvPointLine(line.c_str(), fields)) return;
    VectorPoint point;
    SetCsvPoint(&point, fields[0], fields[1], fields[2]);
    read->points.push_back(point);
}

// The data in a block as the reader has it: a zero after the data, then
// readable bytes, here holding plain lines.
Read ReadWith(const std::string& data, QuickScan scan) {
    std::string block = data + '\0';
    while (block.size() < data.size() + 1 + CSV_INPUT_SLACK) block += "1,2,3\n";
    Read read;
    size_t p = 0;
    while (p < data.size()) {
        VectorPoint out[QUICK_LINES];
        int taken = 0;
        int count = scan ? scan(block.c_str() + p, out, &taken) : 0;
        if (count > 0) {
            read.points.insert(read.points.end(), out, out + count);
            p += (size_t)taken;
            if (p > data.size() || block[p - 1] != '\n') read.stoppedInsideALine = true;
            continue;
        }
        ReadGenerally(LineAt(data, p), &read);
        size_t end = data.find('\n', p);
        p = end == std::string::npos ? data.size() : end + 1;
    }
    return read;
}

void ExpectSameRead(const std::string& data, const std::string& what) {
    Read general = ReadWith(data, nullptr);
    for (const Way& way : ways) {
        Read read = ReadWith(data, way.scan);
        EXPECT_FALSE(read.stoppedInsideALine) << way.name << ", " << what;
        ASSERT_EQ(read.points.size(), general.points.size()) << way.name << ", " << what;
        for (size_t i = 0; i < read.points.size(); ++i) {
            const VectorPoint &a = read.points[i], &b = general.points[i];
            EXPECT_TRUE(a.flags == b.flags && a.x == b.x && a.y == b.y)
                << way.name << ", point " << i << " of " << what;
        }
    }
}

}  // namespace

TEST(CsvQuickScan, EachLineReadsAsTheGeneralWayReadsIt) {
    for (const char* line : lines) {
        ExpectSameRead(line, std::string("\"") + line + "\"");
        ExpectSameRead(std::string(line) + line + line, std::string("three of \"") + line + "\"");
    }
    // Cut by the end of the data.
    for (const char* cut : {"1,2,3", "1,2,3\r", "7,8,-", "1,2,3\n1,2,3"})
        ExpectSameRead(cut, std::string("\"") + cut + "\" at the end");
}

TEST(CsvQuickScan, MixedLinesAcrossTheWindowReadAsTheGeneralWayReadsThem) {
    uint32_t state = 2463534242u;
    auto next = [&state](uint32_t range) {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        return state % range;
    };
    const uint32_t kinds = sizeof lines / sizeof lines[0];
    for (int text = 0; text < 300; ++text) {
        std::string data;
        // Mostly plain lines, as real files are, so that the quick ways run.
        while (data.size() < 400) data += lines[next(3) ? next(5) : next(kinds)];
        ExpectSameRead(data, "mixed text " + std::to_string(text));
    }
}

TEST(CsvQuickScan, BothWaysTakeEightPlainLinesAtATime) {
    std::string block;
    while (block.size() < 200) block += "1,-2,3\r\n";
    for (const Way& way : ways) {
        VectorPoint out[QUICK_LINES];
        int taken = 0;
        EXPECT_EQ(way.scan(block.c_str(), out, &taken), QUICK_LINES) << way.name;
        EXPECT_EQ(taken, 8 * 8) << way.name;
        EXPECT_EQ(out[7].flags, POINT_VISIBLE) << way.name;
        EXPECT_EQ(out[7].x, -2) << way.name;
        EXPECT_EQ(out[7].y, -3) << way.name;
    }
}
