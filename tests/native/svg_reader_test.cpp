// The SVG reader on files made here, each written as a drawing program
// writes the piece of SVG it tries (shapes as Inkscape and Illustrator
// save them, transforms on groups and shapes, viewBox sizing, hidden and
// unpainted elements, use references), and every kind of bad input.
#include "convert/svg_reader.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

#include "convert/curve_sampling.h"
#include "convert/drawing.h"
#include "convert/frame_layout.h"
#include "convert/user_language.h"
#include "tests/native/temp_files.h"

namespace {

class SvgReaderTest : public ::testing::Test {
protected:
    int Read(const std::string& text, const char* name = "drawing.svg") {
        const std::string path = folder.Path(name);
        EXPECT_TRUE(WriteWholeFile(path, text));
        reason[0] = 0;
        return ReadSvgDrawing(path.c_str(), reason, sizeof reason);
    }
    static std::string Svg(const std::string& body,
                           const std::string& root = "width=\"100\" height=\"100\"") {
        return "<?xml version=\"1.0\"?>\n<svg xmlns=\"http://www.w3.org/2000/svg\" "
               "xmlns:xlink=\"http://www.w3.org/1999/xlink\" " +
               root + ">\n" + body + "\n</svg>\n";
    }
    // Every segment end of the drawing, in order, rounded to thousandths.
    static std::vector<std::pair<double, double>> Ends() {
        std::vector<std::pair<double, double>> ends;
        for (int p = 0; p < drawing.pathCount; ++p) {
            const DrawingPath* path = &drawing.paths[p];
            for (int i = 0; i <= path->segmentCount; ++i) {
                const DrawingPoint q = SegmentStart(path, i);
                ends.push_back({std::round(q.x * 1000) / 1000, std::round(q.y * 1000) / 1000});
            }
        }
        return ends;
    }
    static void Extent(DrawingPoint* low, DrawingPoint* high) {
        *low = *high = drawing.paths[0].start;
        for (int p = 0; p < drawing.pathCount; ++p)
            for (int i = 0; i < drawing.paths[p].segmentCount; ++i) {
                const DrawingSegment* s = &drawing.segments[drawing.paths[p].firstSegment + i];
                ExtendByCubic(SegmentStart(&drawing.paths[p], i), s->control1, s->control2, s->end,
                              low, high);
            }
    }

    TempFolder folder{"quillon-svg"};
    char reason[256];
};

typedef std::vector<std::pair<double, double>> Ends_t;

TEST_F(SvgReaderTest, EveryShapeBecomesItsOutline) {
    struct Case {
        const char* markup;
        int paths;
        bool closed;
        double left, top, right, bottom;
    };
    const Case cases[] = {
        {"<path d=\"M10 10 h30 v20 Z m5 5 l1 1\"/>", 2, true, 10, 10, 40, 30},
        {"<path d=\"M10 50 A 20 20 0 0 1 50 50\"/>", 1, false, 10, 30, 50, 50},
        // Arcs as the SVG rules have them: a zero radius is a line, an arc
        // to its own start is none, and radii too small to reach the end
        // grow until they do.
        {"<path d=\"M10 10 A0 5 0 0 1 30 30\"/>", 1, false, 10, 10, 30, 30},
        {"<path d=\"M10 10 A5 5 0 0 1 10 10 L20 10\"/>", 1, false, 10, 10, 20, 10},
        {"<path d=\"M0 0 A1 1 0 0 1 20 0\"/>", 1, false, 0, -10, 20, 0},
        {"<path d=\"M0 0 Q 50 100 100 0 T 200 0\"/>", 1, false, 0, -50, 200, 50},
        {"<rect x=\"5\" y=\"6\" width=\"20\" height=\"10\"/>", 1, true, 5, 6, 25, 16},
        {"<rect x=\"5\" y=\"6\" width=\"20\" height=\"10\" rx=\"3\"/>", 1, true, 5, 6, 25, 16},
        {"<circle cx=\"50\" cy=\"40\" r=\"30\"/>", 1, true, 20, 10, 80, 70},
        {"<ellipse cx=\"50\" cy=\"40\" rx=\"30\" ry=\"10\"/>", 1, true, 20, 30, 80, 50},
        {"<line x1=\"1\" y1=\"2\" x2=\"30\" y2=\"40\" stroke=\"#000\"/>", 1, false, 1, 2, 30, 40},
        {"<polyline points=\"0,0 10,5 20,0\" fill=\"none\" stroke=\"red\"/>", 1, false, 0, 0, 20,
         5},
        {"<polygon points=\"0 0, 10 5, 20 0\"/>", 1, true, 0, 0, 20, 5},
    };
    for (const Case& c : cases) {
        ASSERT_EQ(Read(Svg(c.markup)), SVG_READ_OK) << c.markup << ": " << reason;
        ASSERT_EQ(drawing.pathCount, c.paths) << c.markup;
        EXPECT_EQ(drawing.paths[0].closed, c.closed) << c.markup;
        DrawingPoint low, high;
        Extent(&low, &high);
        EXPECT_NEAR(low.x, c.left, 0.05) << c.markup;
        EXPECT_NEAR(low.y, c.top, 0.05) << c.markup;
        EXPECT_NEAR(high.x, c.right, 0.05) << c.markup;
        EXPECT_NEAR(high.y, c.bottom, 0.05) << c.markup;
    }
}

TEST_F(SvgReaderTest, TransformsComposeThroughGroupsShapesAndUse) {
    // scale, then rotate by 90 degrees, then translate: the rectangle
    // (0,0)-(10,5) lands at (90,0)-(100,20).
    ASSERT_EQ(Read(Svg("<g transform=\"translate(100,0)\"><g transform=\"rotate(90)\">"
                       "<rect width=\"10\" height=\"5\" transform=\"scale(2)\"/></g></g>")),
              SVG_READ_OK);
    EXPECT_EQ(Ends(), (Ends_t{{100, 0}, {100, 20}, {90, 20}, {90, 0}, {100, 0}}));
    // A transform written after the path data still applies to it.
    ASSERT_EQ(Read(Svg("<path d=\"M0 0 L10 0\" stroke=\"#000\" transform=\"translate(5 5)\"/>")),
              SVG_READ_OK);
    EXPECT_EQ(Ends(), (Ends_t{{5, 5}, {15, 5}}));
    // A use element's own transform, then its x and y, then the target's.
    ASSERT_EQ(Read(Svg("<defs><path id=\"p\" d=\"M0 0 L1 0\" transform=\"translate(0 1)\"/></defs>"
                       "<g transform=\"translate(1000)\"><use xlink:href=\"#p\" x=\"10\" y=\"20\" "
                       "transform=\"scale(2)\"/></g>")),
              SVG_READ_OK);
    EXPECT_EQ(Ends(), (Ends_t{{1020, 42}, {1022, 42}}));
    // matrix() and skewX() too.
    ASSERT_EQ(Read(Svg("<path d=\"M0 10 L10 10\" transform=\"matrix(1 0 0 1 3 4) skewX(45)\"/>")),
              SVG_READ_OK);
    EXPECT_EQ(Ends(), (Ends_t{{13, 14}, {23, 14}}));
}

TEST_F(SvgReaderTest, TheViewBoxMapsIntoTheViewportAsPreserveAspectRatioSays) {
    struct Case {
        const char* root;
        double x0, y0, x1, y1;  // where (0,0) and (10,10) of the viewBox land
        double pageWidth, pageHeight;
    };
    const Case cases[] = {
        {"width=\"200\" height=\"100\" viewBox=\"0 0 10 10\"", 50, 0, 150, 100, 200, 100},
        {"width=\"200\" height=\"100\" viewBox=\"0 0 10 10\" preserveAspectRatio=\"none\"", 0, 0,
         200, 100, 200, 100},
        {"width=\"200\" height=\"100\" viewBox=\"0 0 10 10\" preserveAspectRatio=\"xMinYMin "
         "slice\"",
         0, 0, 200, 200, 200, 100},
        {"width=\"200\" height=\"100\" viewBox=\"0 0 10 10\" preserveAspectRatio=\"xMaxYMax\"", 100,
         0, 200, 100, 200, 100},
        // No size of its own: the viewBox is the page.
        {"viewBox=\"-5 -5 20 10\"", 5, 5, 15, 15, 20, 10},
        {"width=\"100%\" height=\"100%\" viewBox=\"0 0 40 30\"", 0, 0, 10, 10, 40, 30},
    };
    for (const Case& c : cases) {
        ASSERT_EQ(Read(Svg("<path d=\"M0 0 L10 10\" stroke=\"#000\"/>", c.root)), SVG_READ_OK)
            << c.root;
        EXPECT_EQ(Ends(), (Ends_t{{c.x0, c.y0}, {c.x1, c.y1}})) << c.root;
        EXPECT_TRUE(drawing.hasPage) << c.root;
        EXPECT_NEAR(drawing.pageSize.x, c.pageWidth, 1e-6) << c.root;
        EXPECT_NEAR(drawing.pageSize.y, c.pageHeight, 1e-6) << c.root;
    }
    // A nested svg is a viewport of its own.
    ASSERT_EQ(Read(Svg("<svg x=\"10\" y=\"10\" width=\"20\" height=\"20\" viewBox=\"0 0 1 1\">"
                       "<path d=\"M0 0 L1 1\" stroke=\"#000\"/></svg>")),
              SVG_READ_OK);
    EXPECT_EQ(Ends(), (Ends_t{{10, 10}, {30, 30}}));
    // No size and no viewBox: no page; the drawing alone will be fitted.
    ASSERT_EQ(Read(Svg("<path d=\"M0 0 L1 1\" stroke=\"#000\"/>", "")), SVG_READ_OK);
}

TEST_F(SvgReaderTest, OnlyWhatIsShownAndPaintedIsDrawn) {
    struct Case {
        const char* markup;
        int paths;
    };
    const Case cases[] = {
        {"<path d=\"M0 0 L10 10\" display=\"none\"/>", 0},
        {"<g style=\"display:none\"><path d=\"M0 0 L10 10\"/></g>", 0},
        {"<g display=\"none\"><g display=\"inline\"><path d=\"M0 0 L10 10\"/></g></g>", 0},
        {"<path d=\"M0 0 L10 10\" visibility=\"hidden\"/>", 0},
        {"<g visibility=\"hidden\"><path d=\"M0 0 L10 10\"/>"
         "<path d=\"M0 0 L5 5\" visibility=\"visible\"/></g>",
         1},
        {"<path d=\"M0 0 L10 10\" fill=\"none\"/>", 0},
        {"<path d=\"M0 0 L10 10\" style=\"fill:none;stroke:none\"/>", 0},
        {"<path d=\"M0 0 L10 10\" fill=\"none\" stroke=\"#f00\"/>", 1},
        {"<g fill=\"none\"><path d=\"M0 0 L10 10\"/><path d=\"M0 0 L5 5\" fill=\"url(#g)\"/></g>",
         1},
        {"<path d=\"M0 0 L10 10\" style=\"fill:none\" fill=\"#000\"/>", 0},
        {"<defs><path id=\"a\" d=\"M0 0 L10 10\"/></defs>", 0},
        {"<defs><path id=\"a\" d=\"M0 0 L10 10\"/></defs><use xlink:href=\"#a\"/>"
         "<use xlink:href=\"#a\" x=\"20\"/>",
         2},
        {"<symbol id=\"s\" viewBox=\"0 0 1 1\"><path d=\"M0 0 L1 1\"/></symbol>", 0},
        {"<symbol id=\"s\" viewBox=\"0 0 1 1\"><path d=\"M0 0 L1 1\"/></symbol>"
         "<use xlink:href=\"#s\" width=\"10\" height=\"10\"/>",
         1},
        {"<use xlink:href=\"#missing\"/><use xlink:href=\"other.svg#a\"/>", 0},
        {"<text x=\"0\" y=\"10\">words are not drawn</text>", 0},
        {"<clipPath id=\"c\"><rect width=\"5\" height=\"5\"/></clipPath>"
         "<mask id=\"m\"><rect width=\"5\" height=\"5\"/></mask>",
         0},
        {"<metadata><rect width=\"5\" height=\"5\"/></metadata>"
         "<foo:rect xmlns:foo=\"urn:x\" width=\"5\" height=\"5\"/>",
         0},
        {"<rect width=\"-5\" height=\"5\"/><circle r=\"0\"/><path d=\"M0 0 L5 5 Q\"/>", 1},
        // Paint nobody sees: a layer at opacity 0 (Inkscape hides a layer
        // so when faded out), clear fills, clear or zero-width strokes.
        {"<g opacity=\"0\"><g opacity=\"1\"><path d=\"M0 0 L10 10\"/></g></g>", 0},
        {"<path d=\"M0 0 L10 10\" style=\"opacity:0\"/><path d=\"M0 0 L5 5\" opacity=\"0.2\"/>", 1},
        {"<path d=\"M0 0 L10 10\" fill-opacity=\"0\"/>", 0},
        {"<g fill-opacity=\"0\"><path d=\"M0 0 L10 10\"/>"
         "<path d=\"M0 0 L5 5\" fill-opacity=\"0.5\"/></g>",
         1},
        {"<path d=\"M0 0 L10 10\" fill=\"none\" stroke=\"#000\" stroke-opacity=\"0\"/>", 0},
        {"<path d=\"M0 0 L10 10\" fill=\"none\" stroke=\"#000\" stroke-width=\"0\"/>", 0},
        {"<path d=\"M0 0 L10 10\" fill-opacity=\"0\" stroke=\"#000\" stroke-width=\"0.1\"/>", 1},
        // Paint that is no colour for bytes beyond ASCII is not read (the
        // colour names are ASCII), and never reaches the colour lookup; a
        // url() may name an id in any script, and other properties keep
        // theirs (a Japanese font name, as Inkscape writes it).
        {"<path d=\"M0 0 L10 10\" fill=\"none\" stroke=\"\xC3\xB1one\"/>", 0},
        {"<path d=\"M0 0 L10 10\" style=\"fill:none; stroke : rgb(1,2,3)\xC3\xA9 "
         ";stroke-width:2\"/>",
         0},
        {"<path d=\"M0 0 L10 10\" fill=\"none\" stroke=\"url(#\xE6\x97\xA5) red\"/>", 1},
        {"<path d=\"M0 0 L10 10\" style=\"font-family:\xE3\x83\xA1;fill:none;stroke:#000\"/>", 1},
    };
    for (const Case& c : cases) {
        const int result = Read(Svg(c.markup));
        ASSERT_EQ(result, c.paths ? SVG_READ_OK : SVG_READ_NOTHING) << c.markup << ": " << reason;
        EXPECT_EQ(drawing.pathCount, c.paths) << c.markup;
        if (!c.paths) {
            EXPECT_STREQ(reason, "has nothing to draw");
        }
    }
}

// Which child a switch shows, and conditions on any element, as renderers
// decide them for a user whose language is Japanese.
TEST_F(SvgReaderTest, ConditionsAndSwitchesShowWhatARendererShows) {
    const char* saved = std::getenv("LANGUAGE");
    const std::string old = saved ? saved : "";
    setenv("LANGUAGE", "ja_JP.UTF-8", 1);
    struct Case {
        const char* markup;
        Ends_t ends;
    };
    const Case cases[] = {
        // Illustrator's own data first, for itself alone, then the drawing.
        {"<switch><foreignObject requiredExtensions=\"http://ns.adobe.com/AdobeIllustrator/10.0/\">"
         "</foreignObject><g><path d=\"M0 0 L1 0\"/></g><path d=\"M0 0 L2 0\"/></switch>",
         {{0, 0}, {1, 0}}},
        // One drawing per language, the others' fall-back last.
        {"<switch><path systemLanguage=\"en-US, en\" d=\"M0 0 L1 0\"/>"
         "<path systemLanguage=\"fr,ja\" d=\"M0 0 L2 0\"/><path d=\"M0 0 L3 0\"/></switch>",
         {{0, 0}, {2, 0}}},
        {"<switch><title>logo</title><path systemLanguage=\"JA-jp\" d=\"M0 0 L4 0\"/></switch>",
         {{0, 0}, {4, 0}}},
        {"<switch><path systemLanguage=\"\" d=\"M0 0 L1 0\"/><path systemLanguage=\"jav\" "
         "d=\"M0 0 L2 0\"/><path requiredFeatures=\"http://www.w3.org/TR/SVG11/feature#Shape\" "
         "d=\"M0 0 L5 0\"/></switch>",
         {{0, 0}, {5, 0}}},
        // Outside a switch a failing condition hides the element alone.
        {"<path systemLanguage=\"de\" d=\"M0 0 L1 0\"/><g requiredExtensions=\"urn:x\">"
         "<path d=\"M0 0 L2 0\"/></g><path d=\"M0 0 L6 0\"/>",
         {{0, 0}, {6, 0}}},
        // A child the switch passes over is still there for a use element.
        {"<switch><path d=\"M0 0 L1 0\"/><path id=\"b\" d=\"M0 0 L2 0\"/></switch>"
         "<use xlink:href=\"#b\" y=\"10\"/>",
         {{0, 0}, {1, 0}, {0, 10}, {2, 10}}},
        // SVG 2's plain href, which wins over xlink:href.
        {"<defs><path id=\"a\" d=\"M0 0 L1 0\"/><path id=\"b\" d=\"M0 0 L2 0\"/></defs>"
         "<use href=\"#a\"/><use href=\"#b\" xlink:href=\"#a\" y=\"10\"/>",
         {{0, 0}, {1, 0}, {0, 10}, {2, 10}}},
    };
    for (const Case& c : cases) {
        ASSERT_EQ(Read(Svg(c.markup)), SVG_READ_OK) << c.markup << ": " << reason;
        EXPECT_EQ(Ends(), c.ends) << c.markup;
    }
    if (saved)
        setenv("LANGUAGE", old.c_str(), 1);
    else
        unsetenv("LANGUAGE");
}

TEST(UserLanguage, ComesFromTheEnvironmentAsATag) {
    const char* names[] = {"LANGUAGE", "LC_ALL", "LC_MESSAGES", "LANG"};
    std::string saved[4];
    bool had[4];
    for (int i = 0; i < 4; ++i) {
        const char* value = std::getenv(names[i]);
        had[i] = value != nullptr;
        saved[i] = value ? value : "";
        unsetenv(names[i]);
    }
    struct Case {
        const char* name;
        const char* value;
        const char* language;
    };
    const Case cases[] = {
        {"LANG", "ja_JP.UTF-8", "ja-jp"},
        {"LC_MESSAGES", "de_AT@euro", "de-at"},
        {"LC_ALL", "C", "en"},
        {"LANGUAGE", "pt_BR:pt", "pt-br"},
        {"LANGUAGE", "", "en"},
        {"LC_ALL", "POSIX", "en"},
    };
    for (const Case& c : cases) {
        setenv(c.name, c.value, 1);
        char language[LANGUAGE_ROOM];
        UserLanguage(language);
        EXPECT_STREQ(language, c.language) << c.name << "=" << c.value;
        unsetenv(c.name);
    }
    char language[LANGUAGE_ROOM];
    UserLanguage(language);
    EXPECT_STREQ(language, "en");
    for (int i = 0; i < 4; ++i)
        if (had[i]) setenv(names[i], saved[i].c_str(), 1);
}

TEST_F(SvgReaderTest, BadInputIsRefusedWithItsReason) {
    struct Case {
        std::string text;
        int result;
        const char* reason;
    };
    const Case cases[] = {
        {"", SVG_READ_NOT_XML, "is not well-formed XML"},
        {std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16), SVG_READ_NOT_XML,
         "is not well-formed XML"},
        {"<svg xmlns=\"http://www.w3.org/2000/svg\">\n<g>\n<rect/></svg>", SVG_READ_NOT_XML,
         "is not well-formed XML: invalid closing tag name (line 3)"},
        {"<svg xmlns=\"http://www.w3.org/2000/svg\"><rect width=\"1\" height=\"1\"/>",
         SVG_READ_NOT_XML, "is not well-formed XML"},
        {"<html><body/></html>", SVG_READ_NOT_SVG, "is not an SVG file"},
        {"<svg xmlns=\"urn:not-svg\"><rect width=\"1\" height=\"1\"/></svg>", SVG_READ_NOT_SVG,
         "is not an SVG file"},
        {"<svg><rect width=\"1\" height=\"1\"/></svg>", SVG_READ_NOT_SVG, "is not an SVG file"},
        {"VECTOR,30000,3\r\nStar\r\n1,0,0\r\n", SVG_READ_NOT_XML, "is not well-formed XML"},
        {Svg(""), SVG_READ_NOTHING, "has nothing to draw"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Read(c.text), c.result) << c.text;
        EXPECT_EQ(std::string(reason).find(c.reason), 0u) << reason;
    }
    reason[0] = 0;
    EXPECT_EQ(ReadSvgDrawing(folder.Path("missing.svg").c_str(), reason, sizeof reason),
              SVG_READ_UNREADABLE);
    EXPECT_STREQ(reason, "cannot be opened: No such file or directory");
    ASSERT_EQ(mkdir(folder.Path("folder.svg").c_str(), 0700), 0);
    EXPECT_EQ(ReadSvgDrawing(folder.Path("folder.svg").c_str(), reason, sizeof reason),
              SVG_READ_UNREADABLE);
    EXPECT_STREQ(reason, "cannot be read: Is a directory");
    std::string large = Svg("<!--" + std::string(SVG_FILE_MAX, ' ') + "-->");
    EXPECT_EQ(Read(large), SVG_READ_UNREADABLE);
    EXPECT_STREQ(reason, "is larger than 16 MB");
}

TEST_F(SvgReaderTest, DrawingsBeyondTheLimitsAreRefusedNotFollowedForever) {
    // Elements nested deeper than the reader follows.
    std::string deep;
    for (int i = 0; i < 300; ++i) deep += "<g>";
    deep += "<rect width=\"1\" height=\"1\"/>";
    for (int i = 0; i < 300; ++i) deep += "</g>";
    EXPECT_EQ(Read(Svg(deep)), SVG_READ_TOO_COMPLEX);
    EXPECT_STREQ(reason, "nests elements too deeply");
    // Far deeper than the parser could follow on its stack: refused before
    // it starts. Comments, quoted values and empty elements do not count.
    std::string deeper;
    for (int i = 0; i < 200000; ++i) deeper += "<g>";
    EXPECT_EQ(Read(Svg(deeper)), SVG_READ_TOO_COMPLEX);
    EXPECT_STREQ(reason, "nests elements too deeply");
    std::string flat = "<!--";
    for (int i = 0; i < 2000; ++i) flat += "<g>";
    flat += "--><g id=\"a>b\" class='<g>'>";
    for (int i = 0; i < 2000; ++i) flat += "<g/><![CDATA[<g>]]>";
    EXPECT_EQ(Read(Svg(flat + "<rect width=\"1\" height=\"1\"/></g>")), SVG_READ_OK) << reason;
    // A use element inside what it shows stops after a few rounds.
    EXPECT_EQ(Read(Svg("<g id=\"loop\"><rect width=\"1\" height=\"1\"/>"
                       "<use xlink:href=\"#loop\" x=\"2\"/></g>")),
              SVG_READ_OK);
    EXPECT_GT(drawing.pathCount, 2);
    EXPECT_LT(drawing.pathCount, 100);
    // Each level shows the one below twice: 2^30 rectangles.
    std::string doubling = "<defs><rect id=\"l0\" width=\"1\" height=\"1\"/>";
    for (int i = 1; i <= 30; ++i)
        doubling += "<g id=\"l" + std::to_string(i) + "\"><use xlink:href=\"#l" +
                    std::to_string(i - 1) + "\"/><use xlink:href=\"#l" + std::to_string(i - 1) +
                    "\"/></g>";
    doubling += "</defs><use xlink:href=\"#l30\"/>";
    EXPECT_EQ(Read(Svg(doubling)), SVG_READ_TOO_COMPLEX);
    EXPECT_EQ(std::string(reason).find("has more than"), 0u) << reason;
}

// The circle as a frame: its points, and the middles of its chords, lie on
// the circle within the tolerance the frame was laid out with (and the
// 0.03% by which four cubic quarters, as the library makes a circle, miss a
// true one), at the first tolerance and at one grown for a small budget.
TEST_F(SvgReaderTest, ACircleFrameLiesOnTheCircleWithinTheTolerance) {
    ASSERT_EQ(Read(Svg("<circle cx=\"5\" cy=\"5\" r=\"4\"/>", "viewBox=\"0 0 10 10\"")),
              SVG_READ_OK);
    const double radius = 4 * 65534 * 0.9 / 10;
    static LaidOutFrame frame;
    for (int budget : {(int)MAX_POINTS, 40}) {
        const FrameLayoutOptions options = {0, 5, budget};
        ASSERT_EQ(LayOutDrawing(&options, &frame), 1);
        EXPECT_LE(frame.count, budget);
        const double slack = frame.tolerance + radius * 0.0003 + 1;  // 1: rounding to units
        int visible = 0;
        for (int i = 1; i < frame.count; ++i) {
            const VectorPoint a = frame.points[i - 1], b = frame.points[i];
            if (!(b.flags & POINT_VISIBLE)) continue;
            ++visible;
            EXPECT_NEAR(std::hypot(b.x, b.y), radius, slack) << "point " << i;
            EXPECT_NEAR(std::hypot((a.x + b.x) / 2.0, (a.y + b.y) / 2.0), radius, slack)
                << "chord " << i;
        }
        EXPECT_GE(visible, 8);
        if (budget < MAX_POINTS) {
            EXPECT_GT(frame.tolerance, TOLERANCE_FIRST);
        }
    }
}

}  // namespace
