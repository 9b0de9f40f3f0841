// SVG pictures of frames, rendered by a real renderer (librsvg's
// rsvg-convert, pixels read back through ImageMagick) and read back as
// paths: lines where the frame's beam-on moves are, nothing for blanked
// moves, dots for lit spots, labels beneath every cell in frame order,
// names as valid XML whatever their bytes, and animation timing.
#include "formats/svg_file.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "document/document_reset.h"
#include "document/frame_store.h"
#include "tests/native/temp_files.h"
#include "tests/native/ui_recorder.h"

namespace {

// Picture units: 1024 a cell, cells 64 apart with a 160 band for the label.
const int GAP = 64, CELL = 1024, PITCH_X = 1088, PITCH_Y = 1248;

struct Picture {
    int width = 0, height = 0;
    std::vector<unsigned char> rgb;
    const unsigned char* At(int x, int y) const { return &rgb[3 * ((size_t)y * width + x)]; }
    bool Green(int x, int y) const {
        const unsigned char* p = At(x, y);
        return p[0] < 60 && p[1] > 180 && p[2] < 60;
    }
    bool Black(int x, int y) const {
        const unsigned char* p = At(x, y);
        return p[0] < 40 && p[1] < 40 && p[2] < 40;
    }
    bool Yellow(int x, int y) const {
        const unsigned char* p = At(x, y);
        return p[0] > 180 && p[1] > 180 && p[2] < 80;
    }
    bool Magenta(int x, int y) const {
        const unsigned char* p = At(x, y);
        return p[0] > 180 && p[1] < 80 && p[2] > 180;
    }
    // The dim grey of blanked moves, not the label's light grey.
    bool Dim(int x, int y) const {
        const unsigned char* p = At(x, y);
        return p[0] > 50 && p[0] < 170 && std::abs(p[0] - p[1]) < 16 && std::abs(p[1] - p[2]) < 16;
    }
    // Pixels of the grey label text in a box.
    int LabelPixels(int x0, int y0, int x1, int y1) const {
        int n = 0;
        for (int y = y0; y < y1; ++y)
            for (int x = x0; x < x1; ++x) {
                const unsigned char* p = At(x, y);
                n += p[0] > 90 && p[1] > 90 && p[2] > 90;
            }
        return n;
    }
};

void SetFrame(int slot, const std::vector<VectorPoint>& points, const std::string& name) {
    workingFrame.count = (int32_t)points.size();
    for (size_t i = 0; i < points.size(); ++i) workingFrame.points[i] = points[i];
    StoreFrame(slot, true);
    std::string padded = name + std::string(16 - name.size(), ' ');
    std::memcpy(frameStore.frameNames[slot].bytes, padded.data(), 16);
}

VectorPoint On(int x, int y) {
    return {POINT_VISIBLE, (int16_t)x, (int16_t)y};
}
VectorPoint Off(int x, int y) {
    return {0, (int16_t)x, (int16_t)y};
}

// Xorshift: the same pseudo-random frames on every run.
uint32_t NextRandom(uint32_t* seed) {
    *seed ^= *seed << 13;
    *seed ^= *seed >> 17;
    *seed ^= *seed << 5;
    return *seed;
}

// Where a frame coordinate lands in a cell, in picture units from its corner.
int Grid(int v) {
    return (v + 32768 + 32) / 64;
}

class SvgFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetDocument();
        InstallUiRecorder();
        ASSERT_EQ(
            std::system("command -v rsvg-convert >/dev/null && command -v convert >/dev/null"), 0)
            << "rsvg-convert and ImageMagick are needed: run scripts/install-deps.sh";
    }
    std::string Path(const char* name) const { return folder.Path(name); }

    // Renders the file at scale (pixels per picture unit, as 1 / divisor).
    Picture Render(const std::string& svg, int unitsWide, int unitsHigh, int divisor) {
        Picture picture;
        picture.width = unitsWide / divisor;
        picture.height = unitsHigh / divisor;
        std::string png = Path("render.png"), raw = Path("render.rgb");
        std::string command = "rsvg-convert -w " + std::to_string(picture.width) + " -h " +
                              std::to_string(picture.height) + " '" + svg + "' -o '" + png +
                              "' && convert '" + png + "' -depth 8 'rgb:" + raw + "'";
        EXPECT_EQ(std::system(command.c_str()), 0) << command;
        std::string bytes = ReadWholeFile(raw);
        EXPECT_EQ(bytes.size(), (size_t)picture.width * picture.height * 3);
        picture.rgb.assign(bytes.begin(), bytes.end());
        picture.rgb.resize((size_t)picture.width * picture.height * 3);
        return picture;
    }

    TempFolder folder{"quillon-svg"};
};

// ---- Reading paths back ---------------------------------------------------

struct Line {
    int x0, y0, x1, y1;
    bool operator==(const Line& o) const {
        return x0 == o.x0 && y0 == o.y0 && x1 == o.x1 && y1 == o.y1;
    }
};

// The lines of a path's data in order, zero-length ones included. Knows
// the commands the writer uses: M, m and l, with pairs that carry on.
std::vector<Line> PathLines(const std::string& d) {
    std::vector<Line> lines;
    char command = 0;
    int x = 0, y = 0;
    size_t i = 0;
    auto number = [&]() {
        while (i < d.size() && d[i] == ' ') ++i;
        size_t used = 0;
        int v = std::stoi(d.substr(i), &used);
        i += used;
        return v;
    };
    while (i < d.size()) {
        if (d[i] == ' ') {
            ++i;
            continue;
        }
        if (d[i] == 'M' || d[i] == 'm' || d[i] == 'l') command = d[i++];
        int a = number(), b = number();
        if (command == 'M') {
            x = a;
            y = b;
            command = 'L';
        } else if (command == 'm') {
            x += a;
            y += b;
            command = 'l';
        } else if (command == 'l') {
            lines.push_back({x, y, x + a, y + b});
            x += a;
            y += b;
        } else {
            ADD_FAILURE() << "unexpected pair after M in " << d;
            return lines;
        }
    }
    return lines;
}

// The data of every <path d="..."> after the first one (the cell boxes).
std::vector<std::string> FramePaths(const std::string& svg) {
    std::vector<std::string> paths;
    for (size_t at = 0; (at = svg.find("<path d=\"", at)) != std::string::npos;) {
        at += 9;
        paths.push_back(svg.substr(at, svg.find('"', at) - at));
    }
    return paths;
}

std::vector<std::string> Labels(const std::string& svg) {
    std::vector<std::string> labels;
    for (size_t at = 0; (at = svg.find("<text ", at)) != std::string::npos;) {
        at = svg.find('>', at) + 1;
        labels.push_back(svg.substr(at, svg.find("</text>", at) - at));
    }
    return labels;
}

// ---- Sheets ---------------------------------------------------------------

// One frame, drawn at half a pixel per unit: a full line across the upper
// half, a blanked move down to the middle, and a half line across the
// lower half to the left, so a picture upside down or mirrored would show.
TEST_F(SvgFileTest, AFrameDrawsItsBeamOnMovesWhereTheyBelong) {
    SetFrame(0, {Off(-16384, -16384), On(16384, -16384), Off(0, 16384), On(-16384, 16384)},
             "Shape");
    ASSERT_EQ(WriteSvgSheet(nullptr, Path("one.svg").c_str(), 0, 0), 1);
    Picture p = Render(Path("one.svg"), GAP + PITCH_X, GAP + PITCH_Y, 2);
    // Cell corner at 32 pixels; -16384, 0 and 16384 at 160, 288 and 416.
    for (int x = 170; x <= 406; x += 12) EXPECT_TRUE(p.Green(x, 160)) << x;  // upper line
    for (int x = 300; x <= 406; x += 12)
        EXPECT_TRUE(p.Black(x, 416)) << x;  // right of the half line
    for (int x = 170; x <= 280; x += 12) EXPECT_TRUE(p.Green(x, 416)) << x;  // lower half line
    for (int y = 180; y <= 400; y += 20) {
        EXPECT_TRUE(p.Black(416, y)) << y;
        EXPECT_TRUE(p.Black(416 - (y - 160) / 2, y)) << y;  // the blanked move
        EXPECT_TRUE(p.Black(160, y)) << y;                  // no closing move back to the start
        EXPECT_TRUE(p.Black(288, y)) << y;
    }
    // The coordinate square's outline, dark red, on the cell's edge.
    const unsigned char* edge = p.At(32, 288);
    EXPECT_GT(edge[0], 60);
    EXPECT_LT(edge[1], 30);
    EXPECT_TRUE(p.Black(20, 288));
    EXPECT_GT(p.LabelPixels(32, 32 + 512, 32 + 512, 32 + 512 + 80), 30);  // "1 Shape"
}

// A visible point reached by a blanked move lights a spot: a dot, as on the
// projector. A frame with only blanked moves, or no points, draws nothing.
TEST_F(SvgFileTest, LitSpotsAreDotsAndDarkFramesDrawNothing) {
    SetFrame(0, {Off(-20000, 0), On(-20000, 0), Off(20000, 0), On(20000, 10)}, "dots");
    SetFrame(1, {Off(-20000, 0), Off(20000, 0), Off(0, 20000)}, "dark");
    SetFrame(2, {}, "empty");
    SetFrame(3, {On(0, 0)}, "alone");
    ASSERT_EQ(WriteSvgSheet(nullptr, Path("dots.svg").c_str(), 0, 3), 1);
    const std::string svg = ReadWholeFile(Path("dots.svg"));
    ASSERT_EQ(FramePaths(svg).size(), 2u) << svg;  // the dark and the empty frame have none
    Picture p = Render(Path("dots.svg"), GAP + 2 * PITCH_X, GAP + 2 * PITCH_Y, 2);
    const int left = 32 + Grid(-20000) / 2, right = 32 + Grid(20000) / 2, middle = 32 + 256;
    EXPECT_TRUE(p.Green(left, middle));
    EXPECT_TRUE(p.Green(right, middle));
    EXPECT_TRUE(p.Black(middle, middle));
    EXPECT_TRUE(p.Green(32 + 544 + 256, 32 + 624 + 256));   // frame 4's single point
    for (int x = 32 + 544 + 8; x < 32 + 544 + 504; x += 8)  // frame 2: dark
        for (int y = 40; y < 536; y += 8) ASSERT_TRUE(p.Black(x, y)) << x << "," << y;
}

// Paths read back give exactly the frame's beam-on moves on the rounded
// grid, in order, from random frames with steps finer than the grid, long
// jumps and repeated points; every visible point no line reaches is a dot.
// Relative steps between rounded positions never drift.
TEST_F(SvgFileTest, PathsHoldExactlyTheBeamOnMovesWithoutDrift) {
    uint32_t seed = 12345;
    auto next = [&]() { return NextRandom(&seed); };
    const int frames = 7;
    for (int f = 0; f < frames; ++f) {
        std::vector<VectorPoint> points;
        int x = (int)(next() % 60000) - 30000, y = (int)(next() % 60000) - 30000;
        for (int i = 0; i < MAX_POINTS; ++i) {
            uint32_t r = next();
            if (r % 50 == 0) {
                x = (int)(next() % 65536) - 32768;
                y = (int)(next() % 65536) - 32768;
            } else if (r % 7 != 0) {  // else a repeated point
                x = std::min(32767, std::max(-32768, x + (int)(next() % 61) - 30));
                y = std::min(32767, std::max(-32768, y + (int)(next() % 61) - 30));
            }
            points.push_back({(int16_t)((next() % 5) ? POINT_VISIBLE : 0), (int16_t)x, (int16_t)y});
        }
        SetFrame(f, points, "random");
    }
    ASSERT_EQ(WriteSvgSheet(nullptr, Path("random.svg").c_str(), 0, frames - 1), 1);
    std::vector<std::string> paths = FramePaths(ReadWholeFile(Path("random.svg")));
    ASSERT_EQ(paths.size(), (size_t)frames);
    for (int f = 0; f < frames; ++f) {
        SCOPED_TRACE(f);
        const VectorPoint* points = frameStore.frames[f];
        const int left = GAP + f % 3 * PITCH_X, top = GAP + f / 3 * PITCH_Y;
        auto at = [&](int i) {
            return std::make_pair(left + Grid(points[i].x), top + Grid(points[i].y));
        };
        std::vector<Line> expected;
        for (int i = 1; i < MAX_POINTS; ++i)
            if ((points[i].flags & POINT_VISIBLE) && at(i) != at(i - 1))
                expected.push_back({at(i - 1).first, at(i - 1).second, at(i).first, at(i).second});
        std::vector<Line> drawn, dots;
        for (const Line& line : PathLines(paths[f]))
            (line.x0 == line.x1 && line.y0 == line.y1 ? dots : drawn).push_back(line);
        ASSERT_EQ(drawn.size(), expected.size());
        for (size_t i = 0; i < drawn.size(); ++i) ASSERT_TRUE(drawn[i] == expected[i]) << i;
        // Dots only at visible points, and one at every visible point that no line touches.
        for (int i = 0; i < MAX_POINTS; ++i) {
            if (!(points[i].flags & POINT_VISIBLE)) continue;
            bool touched = false, dot = false;
            for (const Line& line : drawn)
                touched = touched || (line.x0 == at(i).first && line.y0 == at(i).second) ||
                          (line.x1 == at(i).first && line.y1 == at(i).second);
            for (const Line& d : dots) dot = dot || (d.x0 == at(i).first && d.y0 == at(i).second);
            EXPECT_TRUE(touched || dot) << i;
        }
        for (const Line& d : dots) {
            bool visible = false;
            for (int i = 0; i < MAX_POINTS; ++i)
                visible = visible || ((points[i].flags & POINT_VISIBLE) && at(i).first == d.x0 &&
                                      at(i).second == d.y0);
            EXPECT_TRUE(visible);
        }
    }
}

// Labels "N name" beneath every cell in frame order, numbered as the Frame
// Table counts (a range keeps its numbers); cells left over stay empty.
TEST_F(SvgFileTest, LabelsStandBeneathEveryCellInOrder) {
    for (int f = 0; f < 12; ++f)
        SetFrame(f, {Off(-1000, 0), On(1000, 0)},
                 f == 6 ? "WWWWWWWWWWWWWWWW" : "F" + std::to_string(f + 1));
    ASSERT_EQ(WriteSvgSheet(nullptr, Path("labels.svg").c_str(), 2, 11), 1);
    const std::string svg = ReadWholeFile(Path("labels.svg"));
    std::vector<std::string> labels = Labels(svg);
    ASSERT_EQ(labels.size(), 10u);
    for (int i = 0; i < 10; ++i)
        EXPECT_EQ(labels[i], std::to_string(i + 3) + " " +
                                 (i == 4 ? "WWWWWWWWWWWWWWWW" : "F" + std::to_string(i + 3)));
    // Ten frames: four columns, three rows, two empty cells at the end.
    Picture p = Render(Path("labels.svg"), GAP + 4 * PITCH_X, GAP + 3 * PITCH_Y, 4);
    for (int i = 0; i < 12; ++i) {
        const int left = (GAP + i % 4 * PITCH_X) / 4, band = (GAP + i / 4 * PITCH_Y + CELL) / 4;
        const int text = p.LabelPixels(left, band, left + CELL / 4, band + 40);
        if (i < 10)
            EXPECT_GT(text, 15) << i;
        else
            EXPECT_EQ(text, 0) << i;
        // The long name (frame 7, the fifth cell) reaches far into its cell's width.
        EXPECT_EQ(p.LabelPixels(left + 150, band, left + CELL / 4, band + 40) > 0, i == 4) << i;
    }
}

// Names are 16 raw bytes: the label shows them as the Frame Table does, up
// to a zero byte and without trailing spaces, as valid UTF-8 XML whatever
// they hold.
TEST_F(SvgFileTest, NamesOfAnyBytesMakeValidXml) {
    const std::string names[] = {std::string("a&b<c>d\"e'f  x  "),
                                 std::string("caf\xE9 \xA0|\x80|\x01|\x7F", 13),
                                 std::string("ab\0cdefgh", 9), std::string("\x1F\t\r\n", 4)};
    for (int f = 0; f < 4; ++f) SetFrame(f, {On(0, 0)}, names[f]);
    for (int f = 4; f < 20; ++f) {  // every byte value somewhere
        std::string name;
        for (int b = 0; b < 16; ++b) name += (char)(f * 16 - 64 + b);
        SetFrame(f, {On(0, 0)}, name);
    }
    ASSERT_EQ(WriteSvgSheet(nullptr, Path("names.svg").c_str(), 0, 19), 1);
    const std::string svg = ReadWholeFile(Path("names.svg"));
    std::vector<std::string> labels = Labels(svg);
    ASSERT_EQ(labels.size(), 20u);
    EXPECT_EQ(labels[0], "1 a&amp;b&lt;c&gt;d\"e'f  x");
    EXPECT_EQ(labels[1], "2 caf\xC3\xA9 \xC2\xA0|\xEF\xBF\xBD|\xEF\xBF\xBD|\xEF\xBF\xBD");
    EXPECT_EQ(labels[2], "3 ab");
    EXPECT_EQ(labels[3], "4 \xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD");
    // The renderer, which refuses bad UTF-8, stray control bytes and bare
    // ampersands, takes it.
    Render(Path("names.svg"), GAP + 5 * PITCH_X, GAP + 4 * PITCH_Y, 8);
}

// About 6 bytes a point at most for drawings; these take under 2.
TEST_F(SvgFileTest, SheetsAreCompact) {
    for (int f = 0; f < 100; ++f) {
        std::vector<VectorPoint> points;
        for (int i = 0; i < MAX_POINTS; ++i) {
            const double t = 6.283185 * i / MAX_POINTS;
            VectorPoint point = {(int16_t)(i % 100 ? POINT_VISIBLE : 0),
                                 (int16_t)(30000 * std::sin(3 * t + f * 0.01)),
                                 (int16_t)(30000 * std::sin(4 * t))};
            points.push_back(point);
        }
        SetFrame(f, points, "lissajous");
    }
    ASSERT_EQ(WriteSvgSheet(nullptr, Path("big.svg").c_str(), 0, 99), 1);
    const double bytes = (double)ReadWholeFile(Path("big.svg")).size();
    EXPECT_LT(bytes / (100.0 * MAX_POINTS), 6.0);
    RecordProperty("bytes_per_point", std::to_string(bytes / (100.0 * MAX_POINTS)));
}

// ---- Extras ---------------------------------------------------------------

// Dim dashes along a blanked move, from (x0, y0) on by (dx, dy) a pixel for
// steps pixels: how many dashes, or 0 when a pixel is neither dim nor black.
int Dashes(const Picture& p, int x0, int y0, int dx, int dy, int steps) {
    int dashes = 0;
    bool inDash = false;
    for (int k = 0; k < steps; ++k) {
        const int x = x0 + k * dx, y = y0 + k * dy;
        const unsigned char* rgb = p.At(x, y);
        const bool dim = p.Dim(x, y), dark = std::max({rgb[0], rgb[1], rgb[2]}) < 50;
        if (!dim && !dark) return 0;
        if (dim && !inDash) ++dashes;
        inDash = dim;
    }
    return dashes;
}

// The frame of the first sheet test with the extras, in the sheet and in
// the animation: its blanked move (top right to bottom left) dashed and
// dim beneath the lit lines, which stay green, its lit points marked
// yellow and its blanked ones magenta; the first sheet test shows that
// without extras the move and the points are not drawn.
TEST_F(SvgFileTest, ExtrasDrawBlankedMovesDashedAndMarkEveryPoint) {
    SetFrame(0, {Off(-16384, -16384), On(16384, -16384), Off(-16384, 16384), On(0, 16384)},
             "Shape");
    SetFrame(1, {On(0, 0)}, "next");
    const struct {
        const char* name;
        bool animation;
        int extras;
    } cases[] = {
        {"blanked.svg", false, SVG_BLANKED},
        {"points.svg", false, SVG_POINTS},
        {"both.svg", false, SVG_BLANKED | SVG_POINTS},
        {"anim.svg", true, SVG_BLANKED | SVG_POINTS},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = Path(c.name);
        ASSERT_EQ(c.animation ? WriteSvgAnimation(nullptr, path.c_str(), 0, 1, c.extras)
                              : WriteSvgSheet(nullptr, path.c_str(), 0, 1, c.extras),
                  1);
        // Both pictures at half a pixel a unit: the cell's corner at 32.
        Picture p = c.animation ? Render(path, 2 * GAP + CELL, 2 * GAP + CELL + 160, 2)
                                : Render(path, GAP + 2 * PITCH_X, GAP + PITCH_Y, 2);
        const bool blanked = (c.extras & SVG_BLANKED) != 0, points = (c.extras & SVG_POINTS) != 0;
        // Along the diagonal, clear of the marks at its ends.
        const int dashes = Dashes(p, 416 - 20, 160 + 20, -1, 1, 216);
        if (blanked)
            EXPECT_GE(dashes, 8);
        else
            EXPECT_EQ(dashes, 0);
        EXPECT_TRUE(p.Green(300, 160));  // the lit lines, over the dashes
        EXPECT_TRUE(p.Green(220, 416));
        EXPECT_EQ(p.Yellow(416, 160), points);  // lit points
        EXPECT_EQ(p.Yellow(288, 416), points);
        EXPECT_EQ(p.Magenta(160, 160), points);  // blanked points
        EXPECT_EQ(p.Magenta(160, 416), points);
        EXPECT_FALSE(p.Yellow(160, 160));
        EXPECT_FALSE(p.Magenta(416, 160));
        // The move from the last point back to the first is no move of the frame.
        EXPECT_TRUE(p.Black(224, 288));
    }
    // The lit paths, which the other tests read back, draw the same lines.
    ASSERT_EQ(WriteSvgSheet(nullptr, Path("plain.svg").c_str(), 0, 1), 1);
    std::vector<std::string> plain = FramePaths(ReadWholeFile(Path("plain.svg")));
    std::vector<std::string> marked = FramePaths(ReadWholeFile(Path("both.svg")));
    ASSERT_EQ(plain.size(), marked.size());
    for (size_t f = 0; f < plain.size(); ++f) {
        std::vector<Line> lines[2];
        for (int k = 0; k < 2; ++k)
            for (const Line& line : PathLines(k ? marked[f] : plain[f]))
                if (line.x0 != line.x1 || line.y0 != line.y1) lines[k].push_back(line);
        EXPECT_TRUE(lines[0] == lines[1]) << plain[f] << " / " << marked[f];
    }
}

// Points in random order on a lattice, lit or blanked at random: every one
// of them is marked as what it is, wherever it stands in the path (the end
// of a lit stretch before a blanked move included), in both pictures.
TEST_F(SvgFileTest, EveryPointIsMarkedAsLitOrBlanked) {
    uint32_t seed = 2024;
    auto next = [&]() { return NextRandom(&seed); };
    std::vector<VectorPoint> points;
    for (int i = 0; i < 196; ++i)
        points.push_back(On(-28672 + 4096 * (i % 14), -28672 + 4096 * (i / 14)));
    for (int i = 195; i > 0; --i) std::swap(points[i], points[next() % (i + 1)]);
    for (VectorPoint& p : points) p.flags = next() % 3 ? POINT_VISIBLE : 0;
    SetFrame(0, points, "lattice");
    for (int animation = 0; animation < 2; ++animation) {
        SCOPED_TRACE(animation);
        const std::string path = Path("lattice.svg");
        const int extras = SVG_BLANKED | SVG_POINTS;
        ASSERT_EQ(animation ? WriteSvgAnimation(nullptr, path.c_str(), 0, 0, extras)
                            : WriteSvgSheet(nullptr, path.c_str(), 0, 0, extras),
                  1);
        Picture p = Render(path, animation ? 2 * GAP + CELL : GAP + PITCH_X,
                           animation ? 2 * GAP + CELL + 160 : GAP + PITCH_Y, 2);
        for (const VectorPoint& point : points) {
            const int x = 32 + Grid(point.x) / 2, y = 32 + Grid(point.y) / 2;
            if (point.flags & POINT_VISIBLE)
                EXPECT_TRUE(p.Yellow(x, y)) << point.x << "," << point.y;
            else
                EXPECT_TRUE(p.Magenta(x, y)) << point.x << "," << point.y;
        }
    }
}

// A frame of 3000 points with the extras still fits the writer's room for a
// frame: every point a long blanked move between far corners.
TEST_F(SvgFileTest, ExtrasOfAFullFrameOfLongMoves) {
    std::vector<VectorPoint> points;
    for (int i = 0; i < MAX_POINTS; ++i)
        points.push_back(i % 2 ? Off(-32768, 32767) : Off(32767, -32768));
    SetFrame(0, points, "far");
    ASSERT_EQ(WriteSvgSheet(nullptr, Path("far.svg").c_str(), 0, 0, SVG_BLANKED | SVG_POINTS), 1);
    const std::string svg = ReadWholeFile(Path("far.svg"));
    EXPECT_NE(svg.find("stroke-dasharray"), std::string::npos);
    Render(Path("far.svg"), GAP + PITCH_X, GAP + PITCH_Y, 8);
}

// ---- Animation ----------------------------------------------------------

// keyTimes of the animate element of one frame's group, as numbers.
std::vector<double> KeyTimes(const std::string& group) {
    std::vector<double> times;
    size_t at = group.find("keyTimes=\"");
    if (at == std::string::npos) return times;
    at += 10;
    const std::string list = group.substr(at, group.find('"', at) - at);
    for (size_t from = 0; from <= list.size();) {
        size_t end = list.find(';', from);
        if (end == std::string::npos) end = list.size();
        times.push_back(std::atof(list.substr(from, end - from).c_str()));
        from = end + 1;
    }
    return times;
}

// Each frame shows for its points at the scan speed, at least 1/60 s, one
// after another, looping; a renderer that does not animate shows frame 1.
TEST_F(SvgFileTest, AnimationShowsEachFrameForItsScanTime) {
    ScanSpeed = 10000;
    const int counts[] = {100, 1000, 0, 3000};
    const char* names[] = {"short", "tenth", "empty", "long"};
    for (int f = 0; f < 4; ++f) {
        std::vector<VectorPoint> points(counts[f], On(f == 0 ? -20000 : 0, f == 0 ? 0 : -20000));
        if (!points.empty()) points[0] = Off(f == 0 ? 20000 : 0, f == 0 ? 0 : 20000);
        SetFrame(f, points, names[f]);
    }
    ASSERT_EQ(WriteSvgAnimation(nullptr, Path("anim.svg").c_str(), 0, 3), 1);
    const std::string svg = ReadWholeFile(Path("anim.svg"));
    // 1/60 s, 0.1 s, 1/60 s, 0.3 s: 0.433334 s in all.
    const double total = 0.016667 + 0.1 + 0.016667 + 0.3;
    const double starts[] = {0, 0.016667, 0.116667, 0.133334, total};
    std::vector<std::string> groups;
    for (size_t at = 0; (at = svg.find("<g visibility=", at)) != std::string::npos; ++at)
        groups.push_back(svg.substr(at, svg.find("</g>", at) - at));
    ASSERT_EQ(groups.size(), 4u);
    for (int f = 0; f < 4; ++f) {
        SCOPED_TRACE(f);
        const std::string& g = groups[f];
        EXPECT_NE(g.find(std::string(">") + std::to_string(f + 1) + " " + names[f] + "</text>"),
                  std::string::npos);
        EXPECT_NE(g.find("dur=\"0.433334s\""), std::string::npos);
        EXPECT_NE(g.find("calcMode=\"discrete\""), std::string::npos);
        EXPECT_NE(g.find("repeatCount=\"indefinite\""), std::string::npos);
        EXPECT_EQ(g.rfind("<g visibility=\"visible\"", 0) == 0, f == 0);
        std::vector<double> times = KeyTimes(g);
        std::vector<double> expected = {0};
        std::string values;
        if (f > 0) {
            expected.push_back(starts[f] / total);
            values = "hidden;";
        }
        values += "visible";
        if (f < 3) {
            expected.push_back(starts[f + 1] / total);
            values += ";hidden";
        }
        EXPECT_NE(g.find("values=\"" + values + "\""), std::string::npos) << g;
        ASSERT_EQ(times.size(), expected.size());
        for (size_t i = 0; i < times.size(); ++i) EXPECT_NEAR(times[i], expected[i], 3e-6);
    }
    Picture p = Render(Path("anim.svg"), 2 * GAP + CELL, 2 * GAP + CELL + 160, 2);
    EXPECT_TRUE(p.Green(32 + Grid(10000) / 2, 32 + Grid(0) / 2));   // frame 1's line
    EXPECT_TRUE(p.Black(32 + Grid(0) / 2, 32 + Grid(-10000) / 2));  // not frame 2's
    EXPECT_GT(p.LabelPixels(32, 32 + 512, 32 + 512, 32 + 512 + 80), 20);

    // One frame needs no animation.
    ASSERT_EQ(WriteSvgAnimation(nullptr, Path("still.svg").c_str(), 1, 1), 1);
    EXPECT_EQ(ReadWholeFile(Path("still.svg")).find("<animate"), std::string::npos);
}

}  // namespace
