// SVG files that nobody here wrote, Debian's scalable icons, made into
// frames: every one gives a frame that the readers take back whole, and a
// frame drawn by the converter's own picture writer puts its lines where a
// real SVG renderer (rsvg-convert) puts the drawing's outlines. The icons
// are optional (the icon themes come with scripts/install-deps.sh); the
// same comparison runs on a drawing made here.
#include "convert/svg_import.h"

#include <dirent.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "convert/drawing.h"
#include "convert/frame_layout.h"
#include "convert/svg_reader.h"
#include "document/document_reset.h"
#include "document/frame_store.h"
#include "formats/csv_file.h"
#include "formats/ilda_file.h"
#include "formats/read_account.h"
#include "formats/svg_file.h"
#include "tests/native/temp_files.h"
#include "tests/native/ui_recorder.h"

namespace {

const char* const ICON_FOLDERS[] = {"/usr/share/icons/Adwaita/scalable",
                                    "/usr/share/icons/Tango/scalable"};

void FindSvgFiles(const std::string& folder, std::vector<std::string>* files) {
    DIR* dir = opendir(folder.c_str());
    if (!dir) return;
    while (dirent* entry = readdir(dir)) {
        const std::string name = entry->d_name;
        if (name == "." || name == "..") continue;
        const std::string path = folder + "/" + name;
        if (name.size() > 4 && name.compare(name.size() - 4, 4, ".svg") == 0)
            files->push_back(path);
        else
            FindSvgFiles(path, files);
    }
    closedir(dir);
    std::sort(files->begin(), files->end());
}

std::vector<std::string> IconFiles() {
    std::vector<std::string> files;
    for (const char* folder : ICON_FOLDERS) FindSvgFiles(folder, &files);
    return files;
}

const FrameLayoutOptions DEFAULTS = {DWELL_DEFAULT, MARGIN_DEFAULT, MAX_POINTS};

class SvgImportTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetDocument();
        InstallUiRecorder();
    }
    std::string Path(const std::string& name) const { return folder.Path(name); }
    TempFolder folder{"quillon-svg-import"};
};

TEST_F(SvgImportTest, EveryIconGivesAFrameThatTheReadersTakeBackWhole) {
    const std::vector<std::string> files = IconFiles();
    if (files.empty()) GTEST_SKIP() << "no scalable icons in " << ICON_FOLDERS[0];
    const std::string ild = Path("frame.ild"), csv = Path("frame.csv");
    int converted = 0;
    for (const std::string& file : files) {
        ResetDocument();
        char reason[IMPORT_REASON_SIZE];
        ASSERT_EQ(ImportSvgFrame(file.c_str(), &DEFAULTS, 0, reason, sizeof reason), 1)
            << file << ": " << reason;
        const int count = frameStore.pointCounts[0];
        ASSERT_GT(count, 0) << file;
        std::vector<VectorPoint> points(frameStore.frames[0], frameStore.frames[0] + count);
        const FrameName name = frameStore.frameNames[0];
        ASSERT_EQ(WriteIldaFrames(nullptr, ild.c_str(), 0, 0), 1);
        ASSERT_EQ(WriteCsvFrames(nullptr, csv.c_str(), 0, 0), 1);
        for (int csvFile = 0; csvFile < 2; ++csvFile) {
            ResetDocument();
            ASSERT_EQ(csvFile ? ReadCsvFrames(nullptr, csv.c_str(), 0)
                              : ReadIldaFrames(nullptr, ild.c_str(), 0),
                      1);
            EXPECT_FALSE(ReadLeftDataOut(&lastReadAccount)) << file;
            ASSERT_EQ(frameStore.numFrames, 1) << file;
            ASSERT_EQ(frameStore.pointCounts[0], count) << file;
            for (int i = 0; i < count; ++i) {
                ASSERT_EQ(frameStore.frames[0][i].x, points[i].x) << file << " point " << i;
                ASSERT_EQ(frameStore.frames[0][i].y, points[i].y) << file << " point " << i;
                ASSERT_EQ(frameStore.frames[0][i].flags, points[i].flags) << file;
            }
            EXPECT_EQ(std::string(frameStore.frameNames[0].bytes, 16), std::string(name.bytes, 16));
        }
        ++converted;
    }
    std::printf("%d icons converted and read back\n", converted);
}

// An 8-bit grey picture: a PGM file that ImageMagick made from a PNG. What
// shows at all counts as on: faint parts (fill-opacity) are drawn too.
struct Picture {
    int width = 0, height = 0;
    std::vector<unsigned char> grey;
    bool On(int x, int y) const {
        return x >= 0 && y >= 0 && x < width && y < height && grey[y * width + x] > 16;
    }
};

bool Run(const std::string& command) {
    return std::system((command + " 2>&1").c_str()) == 0;
}

bool ReadPgm(const std::string& path, Picture* picture) {
    FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) return false;
    int maximum = 0;
    const bool header =
        std::fscanf(file, "P5 %d %d %d", &picture->width, &picture->height, &maximum) == 3 &&
        std::fgetc(file) != EOF && maximum == 255;
    picture->grey.resize(header ? picture->width * picture->height : 0);
    const bool read = header && std::fread(picture->grey.data(), 1, picture->grey.size(), file) ==
                                    picture->grey.size();
    std::fclose(file);
    return read;
}

// Chessboard distance from each pixel to the nearest pixel that is on, in
// two passes.
std::vector<int> DistanceToOn(const Picture& p, const std::vector<bool>& on) {
    const int far = p.width + p.height;
    std::vector<int> d(p.width * p.height);
    for (int y = 0; y < p.height; ++y)
        for (int x = 0; x < p.width; ++x) {
            int v = on[y * p.width + x] ? 0 : far;
            if (x > 0) v = std::min(v, d[y * p.width + x - 1] + 1);
            if (y > 0) {
                for (int dx = -1; dx <= 1; ++dx)
                    if (x + dx >= 0 && x + dx < p.width)
                        v = std::min(v, d[(y - 1) * p.width + x + dx] + 1);
            }
            d[y * p.width + x] = v;
        }
    for (int y = p.height - 1; y >= 0; --y)
        for (int x = p.width - 1; x >= 0; --x) {
            int v = d[y * p.width + x];
            if (x + 1 < p.width) v = std::min(v, d[y * p.width + x + 1] + 1);
            if (y + 1 < p.height) {
                for (int dx = -1; dx <= 1; ++dx)
                    if (x + dx >= 0 && x + dx < p.width)
                        v = std::min(v, d[(y + 1) * p.width + x + dx] + 1);
            }
            d[y * p.width + x] = v;
        }
    return d;
}

struct Agreement {
    double linesOnDrawing;   // share of the frame's line pixels near the drawing's ink
    double outlinesCovered;  // share of the drawing's outline pixels near a frame line
};

// Renders the SVG file and its frame (converted here, drawn as the
// converter's sheet) so that one pixel is 64 frame units in both, and
// compares where their lines fall. The frame can be made from another file
// than the one rendered, to show that a wrong frame does not pass.
Agreement CompareRenderings(const std::string& svg, const std::string& folder,
                            const std::string& frameSource = "") {
    ResetDocument();
    char reason[IMPORT_REASON_SIZE];
    const std::string source = frameSource.empty() ? svg : frameSource;
    EXPECT_EQ(ImportSvgFrame(source.c_str(), &DEFAULTS, 0, reason, sizeof reason), 1) << reason;
    LaidOutFrame* frame = new LaidOutFrame;  // the layout again, for where the fit put it
    EXPECT_EQ(LayOutDrawing(&DEFAULTS, frame), 1);
    const double zoom = frame->fitScale / 64;
    const double offsetX = 576 - frame->fitCentreX * zoom, offsetY = 576 - frame->fitCentreY * zoom;
    delete frame;
    const std::string sheet = folder + "/sheet.svg";
    EXPECT_EQ(WriteSvgSheet(nullptr, sheet.c_str(), 0, 0), 1);
    char zoomText[32];
    std::snprintf(zoomText, sizeof zoomText, "%.6f", zoom);
    EXPECT_TRUE(Run("rsvg-convert -z " + std::string(zoomText) + " '" + svg + "' -o '" + folder +
                    "/drawing.png' && convert '" + folder +
                    "/drawing.png' -alpha extract -depth 8 '" + folder + "/drawing.pgm'"));
    // The sheet is 180 pixels wide as written: 6.4 times makes 1 pixel 64 units.
    EXPECT_TRUE(Run("rsvg-convert -z 6.4 '" + sheet + "' -o '" + folder +
                    "/sheet.png' && convert '" + folder +
                    "/sheet.png' -channel G -separate -depth 8 '" + folder + "/sheet.pgm'"));
    Picture drawn, lines;
    EXPECT_TRUE(ReadPgm(folder + "/drawing.pgm", &drawn));
    EXPECT_TRUE(ReadPgm(folder + "/sheet.pgm", &lines));
    if (drawn.grey.empty() || lines.grey.empty()) return {0, 0};

    // Both in the sheet's pixels: the drawing's ink, its outline (ink beside
    // no ink), and the frame's green lines inside the cell.
    std::vector<bool> ink(lines.width * lines.height), outline(ink.size()), green(ink.size());
    for (int y = 0; y < lines.height; ++y)
        for (int x = 0; x < lines.width; ++x) {
            const int u = (int)std::floor(x - offsetX), v = (int)std::floor(y - offsetY);
            const bool on = drawn.On(u, v);
            ink[y * lines.width + x] = on;
            outline[y * lines.width + x] = on && (!drawn.On(u - 1, v) || !drawn.On(u + 1, v) ||
                                                  !drawn.On(u, v - 1) || !drawn.On(u, v + 1));
            green[y * lines.width + x] =
                x >= 64 && x < 1088 && y >= 64 && y < 1088 && lines.On(x, y);
        }
    const std::vector<int> toInk = DistanceToOn(lines, ink), toGreen = DistanceToOn(lines, green);
    const int near = 8;  // pixels: half a line's width, and room for the outline's half stroke
    long greenCount = 0, greenNear = 0, outlineCount = 0, outlineNear = 0;
    for (size_t i = 0; i < ink.size(); ++i) {
        if (green[i]) {
            ++greenCount;
            greenNear += toInk[i] <= near;
        }
        if (outline[i]) {
            ++outlineCount;
            outlineNear += toGreen[i] <= near;
        }
    }
    EXPECT_GT(greenCount, 0);
    EXPECT_GT(outlineCount, 0);
    return {greenCount ? (double)greenNear / greenCount : 0,
            outlineCount ? (double)outlineNear / outlineCount : 0};
}

bool HaveRenderers() {
    return Run("command -v rsvg-convert >/dev/null && command -v convert >/dev/null");
}

TEST_F(SvgImportTest, AFrameDrawsItsLinesWhereARendererDrawsTheDrawing) {
    if (!HaveRenderers()) GTEST_SKIP() << "rsvg-convert or ImageMagick's convert is missing";
    // As a drawing program saves a small scene: a page in millimetres-free
    // pixels with a viewBox, a transformed group, a filled shape without a
    // stroke, thin strokes, a curve, a circle, and a hidden layer that must
    // stay out.
    const std::string scene =
        "<g transform=\"translate(20 10) rotate(10)\">"
        "<rect x=\"0\" y=\"0\" width=\"50\" height=\"30\" fill=\"#336\"/></g>\n"
        "<path d=\"M10 90 C 40 40, 80 140, 140 60\" fill=\"none\" stroke=\"#000\" "
        "stroke-width=\"0.5\"/>\n"
        "<circle cx=\"110\" cy=\"30\" r=\"20\" fill=\"none\" stroke=\"#a00\" "
        "stroke-width=\"0.5\"/>\n"
        "<g style=\"display:none\"><rect width=\"150\" height=\"100\"/></g>\n";
    const std::string page =
        "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"300\" height=\"200\" "
        "viewBox=\"0 0 150 100\">\n";
    const std::string svg = Path("scene.svg"), mirrored = Path("mirrored.svg");
    ASSERT_TRUE(WriteWholeFile(svg, page + scene + "</svg>\n"));
    ASSERT_TRUE(WriteWholeFile(
        mirrored, page + "<g transform=\"matrix(-1 0 0 1 150 0)\">" + scene + "</g></svg>\n"));
    const Agreement agreement = CompareRenderings(svg, folder.dir);
    EXPECT_GT(agreement.linesOnDrawing, 0.97);
    EXPECT_GT(agreement.outlinesCovered, 0.95);
    // The same drawing mirrored, held against the original, does not pass.
    const Agreement wrong = CompareRenderings(svg, folder.dir, mirrored);
    EXPECT_LT(wrong.linesOnDrawing, 0.8);
    EXPECT_LT(wrong.outlinesCovered, 0.8);
}

TEST_F(SvgImportTest, IconFramesDrawTheirLinesWhereARendererDrawsTheIcons) {
    if (!HaveRenderers()) GTEST_SKIP() << "rsvg-convert or ImageMagick's convert is missing";
    // Adwaita's symbolic icons are filled shapes without strokes, whose
    // outlines are exactly what a frame draws. (Tango's icons are drawn with
    // wide strokes, of which a frame draws the middle line, and shadows that
    // fade out: they are converted above but not compared.)
    std::vector<std::string> icons;
    FindSvgFiles(ICON_FOLDERS[0], &icons);
    if (icons.empty()) GTEST_SKIP() << "no scalable icons in " << ICON_FOLDERS[0];
    // A spread of them, the same every run.
    for (size_t i = 0; i < icons.size(); i += icons.size() / 24 + 1) {
        const Agreement agreement = CompareRenderings(icons[i], folder.dir);
        EXPECT_GT(agreement.linesOnDrawing, 0.95) << icons[i];
        EXPECT_GT(agreement.outlinesCovered, 0.9) << icons[i];
        std::printf("%s: %.3f %.3f\n", icons[i].c_str(), agreement.linesOnDrawing,
                    agreement.outlinesCovered);
    }
}

}  // namespace
