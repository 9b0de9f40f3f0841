// The walker harness of the fuzz targets: the reader opens the input as the
// editor would, the walker goes through it twice (quietly and with a report
// in memory), and their accounts and the report are held against each
// other.
#include "tests/fuzz/walk_harness.h"

#include <cstdlib>
#include <cstring>

#include "formats/walk_report.h"
#include "tests/fuzz/fuzz_input.h"

namespace {

bool prepared = false;

void Prepare() {
    UiPort quiet = {};
    uiPort = quiet;  // no warnings shown: the account is what counts
    prepared = true;
}

bool SameAccount(const ReadAccount& a, const ReadAccount& b) {
    return a.framesRead == b.framesRead && a.pointsRead == b.pointsRead &&
           a.longFrames == b.longFrames && a.pointsBeyondLimit == b.pointsBeyondLimit &&
           a.framesBeyondStore == b.framesBeyondStore &&
           a.pointsBeyondStore == b.pointsBeyondStore && a.stop == b.stop &&
           a.placeKind == b.placeKind && a.stopPlace == b.stopPlace && a.formatCode == b.formatCode;
}

// As --check gives it: 2 refused, 1 lossy, 0 whole.
int Verdict(const ReadAccount& account, bool refused) {
    if (refused || ReadFoundNoFrame(&account)) return 2;
    return ReadLeftDataOut(&account) ? 1 : 0;
}

// A number as the report writes it, thousands grouped or not; the end
// where it stops.
long long Number(const char* p, const char** end) {
    long long n = 0;
    bool digits = false;
    for (;; ++p) {
        if (*p >= '0' && *p <= '9') {
            n = n * 10 + (*p - '0');
            digits = true;
        } else if (!(*p == ',' && digits && p[1] >= '0' && p[1] <= '9')) {
            break;
        }
    }
    *end = digits ? p : nullptr;
    return n;
}

bool StartsWith(const char* line, const char* prefix) {
    return std::strncmp(line, prefix, std::strlen(prefix)) == 0;
}

// Every item (section or frame) from 1 on is listed on a line of its own
// ("frame 7, ..." / "section 7 at byte ...") or within one summing-up line
// ("frames 301 to 1,000: 700 more ..."), once and in order; the last line
// says how many the file holds.
void CheckItems(const char* report, bool csv) {
    const char* one = csv ? "frame " : "section ";
    const char* many = csv ? "frames " : "sections ";
    const char* footer = csv ? "CSV file of " : "ILDA file of ";
    long long next = 1, total = -1;
    bool cutHeader = false;
    for (const char* line = report; *line; line = std::strchr(line, '\n') + 1) {
        const char* end = nullptr;
        if (StartsWith(line, many)) {
            const long long first = Number(line + std::strlen(many), &end);
            FuzzRequire(end && StartsWith(end, " to "), "a summing-up line without its range");
            const long long last = Number(end + 4, &end);
            FuzzRequire(end && StartsWith(end, ": "), "a summing-up line without its range");
            const long long count = Number(end + 2, &end);
            FuzzRequire(end && StartsWith(end, " more "), "a summing-up line without its count");
            FuzzRequire(first == next && last > first && count == last - first + 1,
                        "a summing-up line does not take up where the report stands");
            next = last + 1;
        } else if (StartsWith(line, one)) {
            const long long place = Number(line + std::strlen(one), &end);
            FuzzRequire(end != nullptr, "an item line without its number");
            FuzzRequire(place == next, "an item listed out of order, twice or not at all");
            if (StartsWith(end, ": 1 more ")) {
                next = place + 1;
                continue;
            }
            FuzzRequire(csv ? StartsWith(end, ", ") : StartsWith(end, " at byte "),
                        "an item line of an unknown form");
            cutHeader = !csv && (std::strstr(end, ": only ") || std::strstr(end, "cannot be read"));
            next = place + 1;
        } else if (StartsWith(line, footer)) {
            const char* counted =
                csv ? std::strstr(line, "the header and ") : std::strstr(line, ": ");
            FuzzRequire(counted != nullptr, "the last line does not count the items");
            total = Number(counted + (csv ? 15 : 2), &end);
            FuzzRequire(end != nullptr, "the last line does not count the items");
        }
    }
    FuzzRequire(total >= 0, "the report does not end with the file's size");
    // A header cut short is named as the section after the last whole one.
    FuzzRequire(next - 1 == total || (cutHeader && next - 1 == total + 1),
                "the report does not list or sum up every item");
}

void CheckReport(const char* report, size_t length, const ReadAccount& walked, bool csv) {
    FuzzRequire(std::strlen(report) == length, "the report holds a zero byte");
    for (size_t i = 0; i < length; ++i) {
        const unsigned char c = (unsigned char)report[i];
        FuzzRequire(c == '\n' || (c >= 0x20 && c < 0x7F), "the report holds a byte no one reads");
    }
    FuzzRequire(length > 0 && report[length - 1] == '\n', "the report does not end its line");
    // At the start of a line: a name may hold these words too.
    const bool lost = std::strstr(report, "\n  lost: ") != nullptr;
    FuzzRequire(lost == (ReadLeftDataOut(&walked) != 0),
                "a lost: line where nothing is lost, or none where something is");
    CheckItems(report, csv);
}

}  // namespace

void FuzzOneWalk(const uint8_t* data, size_t size, FrameReader reader, FrameWalker walker,
                 bool csv) {
    if (!prepared) Prepare();
    WriteFuzzInput(data, size);
    const char* path = FuzzInputPath();
    const int read = reader(nullptr, path, 0);
    FuzzRequire(read == 0 || read == 1, "a reader returned neither 1 nor 0");
    const ReadAccount account = lastReadAccount;

    ReadAccount quiet;
    const int quietWalk = walker(path, nullptr, &quiet);
    char* report = nullptr;
    size_t length = 0;
    FILE* stream = open_memstream(&report, &length);
    FuzzRequire(stream != nullptr, "no memory for the report");
    ReadAccount walked;
    const int walk = walker(path, stream, &walked);
    FuzzRequire(FinishReport(stream) == 0, "the report could not be written");
    std::fclose(stream);

    FuzzRequire(walk != WALK_OPEN_FAILED, "the walker cannot open a file the reader opened");
    FuzzRequire(quietWalk == walk, "the quiet walk and the reported one disagree");
    const bool refused = walk == WALK_REFUSED;
    FuzzRequire(refused || SameAccount(quiet, walked), "the quiet walk counts otherwise");
    FuzzRequire(Verdict(walked, refused) == (read ? Verdict(account, false) : 2),
                "the walker's verdict is not the reader's");
    if (!refused) {
        FuzzRequire(SameAccount(walked, account), "the walker's account is not the reader's");
        CheckReport(report, length, walked, csv);
    }
    std::free(report);
}
