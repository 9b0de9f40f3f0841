// Writes the fuzz targets' first corpora: small documents saved by the
// program's own CSV and ILDA writers, a few of them cut or patched, and
// sections of every ILDA kind built byte by byte. Insert-mode seeds get each
// document-picking first byte in front.
//
//   quillon_fuzz_seeds FOLDER   (makes FOLDER/csv_open, csv_insert, ilda_open, ilda_insert,
//                                 csv_walk, ilda_walk, svg_write, svg_import)
#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "document/document_reset.h"
#include "document/frame_store.h"
#include "formats/csv_file.h"
#include "formats/ilda_file.h"
#include "tests/fuzz/read_harness.h"
#include "tests/native/temp_files.h"

namespace {

std::string folder;
int failures = 0;

void WriteFile(const std::string& path, const std::string& bytes) {
    if (!WriteWholeFile(path, bytes)) {
        std::fprintf(stderr, "quillon_fuzz_seeds: cannot write %s\n", path.c_str());
        ++failures;
    }
}

// One seed for both modes of a reader ("csv" or "ilda"), and for its walker.
void Seed(const char* reader, const std::string& name, const std::string& bytes) {
    WriteFile(folder + "/" + reader + "_open/" + name, bytes);
    WriteFile(folder + "/" + reader + "_walk/" + name, bytes);
    for (int shape = 0; shape < DOCUMENT_SHAPES; ++shape)
        WriteFile(folder + "/" + reader + "_insert/" + std::to_string(shape) + "-" + name,
                  std::string(1, (char)shape) + bytes);
}

// ---- Documents, written by the program's writers --------------------------

void PutFrame(int slot, const char* name, const std::vector<VectorPoint>& points) {
    workingFrame.count = (int32_t)points.size();
    for (size_t i = 0; i < points.size(); ++i) workingFrame.points[i] = points[i];
    StoreFrame(slot, true);
    SetBlankName(&frameStore.frameNames[slot]);
    std::memcpy(frameStore.frameNames[slot].bytes, name, std::strlen(name));
}

// Names that need quoting or that carry high bytes, and the coordinate limits.
void MixedDocument() {
    ResetDocument();
    ScanSpeed = 20000;
    BlankingDelay = 5;
    PutFrame(0, "Star", {{0, -100, -200}, {POINT_VISIBLE, 100, -200}, {POINT_VISIBLE, 0, 100}});
    PutFrame(1, "a,b", {{POINT_VISIBLE, 5, 0}});
    PutFrame(2, "\"quoted", {{POINT_VISIBLE, -32768, -32768}, {0, 32767, 32767}});
    PutFrame(3, "+plus Caf\xc3\xa9", {{POINT_VISIBLE, 1, 1}});
}

void ManyFrames(int frames) {
    ResetDocument();
    for (int f = 0; f < frames; ++f) {
        char name[FRAME_NAME_LENGTH + 1];
        std::snprintf(name, sizeof name, "f%d", f);
        PutFrame(f, name, {{(int16_t)(f & 1), (int16_t)f, (int16_t)-f}});
    }
}

void FullFrame() {
    ResetDocument();
    std::vector<VectorPoint> points;
    for (int i = 0; i < MAX_POINTS; ++i)
        points.push_back({(int16_t)(i % 2), (int16_t)(i * 7), (int16_t)(i * -5)});
    PutFrame(0, "full", points);
}

std::string Written(int (*writer)(UiWindow, const char*, int, int), int first, int last) {
    std::string path = folder + "/written.tmp";
    if (!writer(nullptr, path.c_str(), first, last)) {
        std::fprintf(stderr, "quillon_fuzz_seeds: the writer refused\n");
        ++failures;
    }
    std::string bytes = ReadWholeFile(path);
    std::remove(path.c_str());
    return bytes;
}

void WrittenSeeds() {
    MixedDocument();
    Seed("csv", "mixed.csv", Written(WriteCsvFrames, 0, 3));
    std::string ilda = Written(WriteIldaFrames, 0, 3);
    Seed("ilda", "mixed.ild", ilda);
    Seed("ilda", "cut.ild", ilda.substr(0, ilda.size() - 45));  // ends inside a record
    Seed("csv", "header-only.csv", Written(WriteCsvFrames, 0, -1));
    Seed("ilda", "closing-only.ild", Written(WriteIldaFrames, 0, -1));

    ManyFrames(MAX_FRAMES);
    Seed("csv", "1000-frames.csv", Written(WriteCsvFrames, 0, MAX_FRAMES - 1));
    Seed("ilda", "1000-frames.ild", Written(WriteIldaFrames, 0, MAX_FRAMES - 1));

    // One point more than a frame holds.
    FullFrame();
    Seed("csv", "3001-points.csv", Written(WriteCsvFrames, 0, 0) + "1,-1,-1\r\n");
    std::string full = Written(WriteIldaFrames, 0, 0);
    std::string record("\xFF\xFF\x00\x01\x00\x00\x40\x00", 8);
    std::string longer =
        full.substr(0, 32 + 8 * MAX_POINTS) + record + full.substr(32 + 8 * MAX_POINTS);
    longer[24] = (char)((MAX_POINTS + 1) >> 8);
    longer[25] = (char)((MAX_POINTS + 1) & 0xFF);
    Seed("ilda", "3001-points.ild", longer);
}

// ---- Hand-made files --------------------------------------------------------

void CsvSeeds() {
    Seed("csv", "no-delay.csv", "VECTOR,25000\nA\n1,2,3\n");
    Seed("csv", "lenient-lines.csv",
         "VECTOR,500,99\r\nname\r\n 1,2,3\r\n1 ,2,3\r\n+1,2,3\r\n\r\n3,40000,-32768\r\n"
         "\"open quote, no end\r\n2,10,20\r\n+\r\n");
    Seed("csv", "long-lines.csv",
         "VECTOR,90000,-4\n" + std::string(49, 'n') + "\n" + std::string(60, 'x') +
             "\n1,123456789,-987654321\n");
}

std::string Padded16(const char* text) {
    std::string padded(text);
    padded.resize(FRAME_NAME_LENGTH, ' ');
    return padded;
}

std::string IldaSection(int format, const char* name, int records, const std::string& body) {
    std::string header("ILDA\0\0\0", 7);
    header += (char)format;
    header += Padded16(name);
    header += (char)(records >> 8);
    header += (char)(records & 0xFF);
    header += std::string("\0\0\0\x01\0\0", 6);
    return header + body;
}

std::string Records(int size, int count, int statusAt) {
    std::string body;
    for (int i = 0; i < count; ++i) {
        std::string record(size, '\0');
        record[1] = (char)(i * 16);
        record[3] = (char)(i * 32);
        record[statusAt] = (char)(i % 2 ? 0x40 : 0x00);
        if (i == count - 1) record[statusAt] = (char)(record[statusAt] | 0x80);
        body += record;
    }
    return body;
}

void IldaSeeds() {
    const std::string closing = IldaSection(0, "", 0, "");
    Seed("ilda", "format-1.ild", IldaSection(1, "two-d", 3, Records(6, 3, 4)) + closing);
    Seed("ilda", "format-5.ild", IldaSection(5, "true", 2, Records(8, 2, 4)) + closing);
    Seed("ilda", "format-4.ild", IldaSection(4, "true 3d", 2, Records(10, 2, 6)) + closing);
    Seed("ilda", "palette-first.ild",
         IldaSection(2, "colours", 4, std::string(12, '\x7F')) +
             IldaSection(0, "after", 2, Records(8, 2, 6)) + closing);
    Seed("ilda", "format-3-stops.ild",
         IldaSection(0, "first", 1, Records(8, 1, 6)) + IldaSection(3, "", 2, std::string(8, 0)) +
             IldaSection(0, "unread", 1, Records(8, 1, 6)));
    Seed("ilda", "zero-count-middle.ild",
         IldaSection(1, "a", 1, Records(6, 1, 4)) + closing +
             IldaSection(1, "b", 1, Records(6, 1, 4)));
    Seed("ilda", "not-ilda.ild", "ILDB" + std::string(28, '\0'));
    Seed("ilda", "short.ild", "ILDA");
    // Reserved bytes as real writers leave them, and what may follow the
    // closing header.
    std::string ascii = IldaSection(0, "ascii", 2, Records(8, 2, 6)) + closing;
    for (size_t at = 0; at < ascii.size(); at = ascii.find("ILDA", at + 1))
        ascii.replace(at + 4, 3, "000");
    Seed("ilda", "reserved-000.ild", ascii);
    Seed("ilda", "closing-twice.ild",
         IldaSection(0, "a", 1, Records(8, 1, 6)) + closing + closing +
             IldaSection(2, "colours", 1, std::string(3, '\x7F')));
    std::string many;
    for (int f = 0; f < 40; ++f)
        many += IldaSection(f % 3 ? 0 : 2, "tiny", 1, Records(f % 3 ? 8 : 3, 1, 6));
    Seed("ilda", "many-tiny.ild", many + closing);
}

// Documents for the SVG writer, in its target's own encoding: speed,
// frame count, range, then names, point counts and points.
void SvgSeeds() {
    const std::string dir = folder + "/svg_write/";
    auto point = [](int x, int y, int flags) {
        return std::string{(char)(x >> 8), (char)x, (char)(y >> 8), (char)y, (char)flags};
    };
    std::string two = std::string("\x75\x30\x02\x00\x02", 5) + Padded16("Star") + '\x03' +
                      point(-100, -200, 0) + point(100, -200, 1) + point(0, 100, 1) +
                      Padded16("Caf\xE9 & <b>") + '\x02' + point(5, 0, 1) + point(5, 0, 0);
    WriteFile(dir + "two.svgdoc", two);
    WriteFile(dir + "full.svgdoc", std::string("\x03\xE8\x01\x00\x00", 5) + Padded16("full") +
                                       '\xFF' + point(-32768, 32767, 1) + point(12, -9, 2) +
                                       point(300, 300, 7));
    WriteFile(dir + "empty.svgdoc", std::string("\x00\x00\x00\x00\x00", 5));
}

// Drawings for SVG import, each behind the byte that picks the dwell and
// the budget: shapes as drawing programs save them, transforms, use
// references, a switch by language, and a drawing too large for its budget.
void SvgImportSeeds() {
    const std::string dir = folder + "/svg_import/";
    const std::string head =
        "<svg xmlns=\"http://www.w3.org/2000/svg\" xmlns:xlink=\"http://www.w3.org/1999/xlink\" "
        "viewBox=\"0 0 100 100\">";
    WriteFile(dir + "shapes.svg",
              std::string("\x04") + head +
                  "<rect x=\"10\" y=\"10\" width=\"30\" height=\"20\" rx=\"3\"/>"
                  "<circle cx=\"60\" cy=\"60\" r=\"20\" fill=\"none\" "
                  "stroke=\"red\"/><path d=\"M0 0 Q50 90 100 0 T10 10 A5 8 30 1 "
                  "0 40 40 Z\"/><polyline points=\"1,1 5,9 9,1\"/></svg>");
    WriteFile(
        dir + "groups.svg",
        std::string("\x02") + head +
            "<defs><path id=\"p\" d=\"M0 0 L10 10\" stroke=\"#000\"/></defs><g "
            "transform=\"rotate(30 50 50) scale(0.5)\" opacity=\"0.5\"><use xlink:href=\"#p\" "
            "x=\"5\"/><use href=\"#p\" y=\"5\"/></g><switch><path systemLanguage=\"ja\" "
            "d=\"M0 50H100\" stroke=\"#000\"/><g display=\"none\"/><line x2=\"9\" "
            "stroke=\"#000\"/></switch><symbol id=\"s\" viewBox=\"0 0 1 1\"><circle r=\"1\"/>"
            "</symbol><use xlink:href=\"#s\" width=\"10\" height=\"10\"/></svg>");
    std::string dots = std::string("\x90") + head;
    for (int i = 0; i < 40; ++i)
        dots += "<rect x=\"" + std::to_string(i % 8 * 10) + "\" y=\"" + std::to_string(i / 8 * 10) +
                "\" width=\"4\" height=\"4\"/>";
    WriteFile(dir + "dots.svg", dots + "</svg>");
}

bool MakeFolder(const std::string& path) {
    return mkdir(path.c_str(), 0777) == 0 || errno == EEXIST;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "Usage: quillon_fuzz_seeds FOLDER\n");
        return 2;
    }
    folder = argv[1];
    for (const char* sub : {"", "/csv_open", "/csv_insert", "/ilda_open", "/ilda_insert",
                            "/csv_walk", "/ilda_walk", "/svg_write", "/svg_import"}) {
        if (!MakeFolder(folder + sub)) {
            std::fprintf(stderr, "quillon_fuzz_seeds: cannot make %s%s\n", folder.c_str(), sub);
            return 1;
        }
    }
    WrittenSeeds();
    CsvSeeds();
    IldaSeeds();
    SvgSeeds();
    SvgImportSeeds();
    return failures ? 1 : 0;
}
