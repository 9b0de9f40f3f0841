// Reading and writing CSV frame files. Reading fills the frame store through
// its insert and store operations and may replace the document settings;
// writing reads the store directly and goes through the atomic writer.
#include "formats/csv_file.h"

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "document/frame_store.h"
#include "document/number_parse.h"
#include "document/undo.h"
#include "formats/csv_lines.h"
#include "formats/decimal_text.h"
#include "formats/frame_fit.h"
#include "formats/path_files.h"
#include "formats/read_account.h"
#include "formats/text_output.h"

// Defining QUILLON_CSV_SCALAR selects the portable quick scan on x86 too,
// so that it can be tested there.
#if defined(__SSE2__) && !defined(QUILLON_CSV_SCALAR)
#include <emmintrin.h>
#endif

static const char* const LOADING_CAPTION = "Loading Frames";

enum {
    LONGEST_LINE = 64,  // header with two full 32-bit numbers, CR LF included
    // The quick point scan looks at a window of 64 bytes, reads up to 16
    // beyond it, and takes at most 8 lines from one window.
    QUICK_LINES = 8,
    QUICK_WINDOW = 64,
    QUICK_READ_BEYOND = QUICK_WINDOW + 16
};

// ---- Reading ---------------------------------------------------------------

// Most lines are plain "V,X,Y" with numbers of up to 8 digits, an optional
// minus sign and a line end; they are taken straight from the block, several
// at a time. Every other line (blanks, plus signs, long numbers, names,
// separators, a line cut by the end of the data) is left to the general
// way, which reads it the same. The zero after the data stops every quick
// line at the data's end.
#if defined(__SSE2__) && !defined(QUILLON_CSV_SCALAR)
struct WindowMasks {
    // Bit i describes byte i of the 64-byte window.
    uint64_t feeds, commas, signs, others;  // others: not a digit
};

static inline uint64_t Mask64(const __m128i* chunk, char c) {
    const __m128i k = _mm_set1_epi8(c);
    uint64_t mask = 0;
    for (int i = 0; i < 4; ++i)
        mask |= (uint64_t)(uint32_t)_mm_movemask_epi8(_mm_cmpeq_epi8(chunk[i], k)) << (16 * i);
    return mask;
}

static inline void ComputeMasks(const char* p, WindowMasks* m) {
    __m128i chunk[4];
    for (int i = 0; i < 4; ++i) chunk[i] = _mm_loadu_si128((const __m128i*)(p + 16 * i));
    m->feeds = Mask64(chunk, '\n');
    m->commas = Mask64(chunk, ',');
    m->signs = Mask64(chunk, '-');
    const __m128i zero = _mm_set1_epi8('0'), nine = _mm_set1_epi8(9);
    uint64_t digits = 0;
    for (int i = 0; i < 4; ++i) {
        const __m128i d = _mm_sub_epi8(chunk[i], zero);
        digits |= (uint64_t)(uint32_t)_mm_movemask_epi8(_mm_cmpeq_epi8(_mm_min_epu8(d, nine), d))
                  << (16 * i);
    }
    m->others = ~digits;
}

// Both numbers of length (1 to 8) digits at p1 and p2 at once.
static inline void TwoNumbers(const char* p1, int length1, const char* p2, int length2, int32_t* v1,
                              int32_t* v2) {
    uint64_t a, b;
    std::memcpy(&a, p1, 8);
    std::memcpy(&b, p2, 8);
    // Digits become 0..9; the bytes after a number are shifted out and zero
    // digits come in front, so each lane holds eight digits, highest first.
    a = (a ^ 0x3030303030303030ull) << (8 * (8 - length1));
    b = (b ^ 0x3030303030303030ull) << (8 * (8 - length2));
    __m128i d = _mm_set_epi64x((long long)b, (long long)a);
    // Pairs, then groups of four, then eight digits.
    d = _mm_add_epi16(_mm_mullo_epi16(_mm_and_si128(d, _mm_set1_epi16(0xFF)), _mm_set1_epi16(10)),
                      _mm_srli_epi16(d, 8));
    d = _mm_madd_epi16(d, _mm_set_epi16(1, 100, 1, 100, 1, 100, 1, 100));
    d = _mm_add_epi64(_mm_mul_epu32(d, _mm_set1_epi32(10000)), _mm_srli_epi64(d, 32));
    *v1 = _mm_cvtsi128_si32(d);
    *v2 = _mm_cvtsi128_si32(_mm_srli_si128(d, 8));
}

// Up to QUICK_LINES point lines from p, which must have QUICK_READ_BEYOND
// readable bytes, into out; returns how many, and the bytes they take in
// *taken. Works on bit masks of the window: bit i stands for byte i.
static inline int QuickPointLines(const char* p, VectorPoint* out, int* taken) {
    WindowMasks m;
    ComputeMasks(p, &m);
    uint64_t feeds = m.feeds;
    uint64_t done = 0;  // the bytes of the lines taken so far, always the lowest bits
    int at = 0, count = 0;
    while (feeds && count < QUICK_LINES) {
        const uint64_t feedBit = feeds & (0 - feeds);
        const int feed = __builtin_ctzll(feeds);
        const uint64_t startBit = done + 1;
        uint64_t body = (feedBit - 1) & ~done;
        if (!body) break;  // empty line
        const int cr = p[feed - 1] == '\r';
        if (cr) body &= ~(feedBit >> 1);  // CR before LF is dropped
        // Exactly two commas.
        const uint64_t commas = m.commas & body;
        const uint64_t comma1 = commas & (0 - commas);
        const uint64_t later = commas ^ comma1;
        const uint64_t comma2 = later & (0 - later);
        if (!comma1 || !comma2 || (later ^ comma2)) break;
        // Besides digits and commas only a minus sign at a field's start.
        const uint64_t signs = m.signs & body & (startBit | (comma1 << 1) | (comma2 << 1));
        if ((m.others & body & ~commas) != signs) break;
        const int first = __builtin_ctzll(comma1), second = __builtin_ctzll(comma2);
        const int sign0 = (signs & startBit) != 0;
        const int sign1 = (signs & (comma1 << 1)) != 0;
        const int sign2 = (signs & (comma2 << 1)) != 0;
        const int from1 = first + 1 + sign1, from2 = second + 1 + sign2;
        const int length0 = first - at - sign0, length1 = second - from1;
        const int length2 = feed - cr - from2;
        if (((unsigned)(length0 - 1) > 7u) | ((unsigned)(length1 - 1) > 7u) |
            ((unsigned)(length2 - 1) > 7u))
            break;
        int32_t x, y;
        TwoNumbers(p + from1, length1, p + from2, length2, &x, &y);
        // '0' is even, so V's parity is that of its last digit.
        SetCsvPoint(&out[count], p[first - 1], sign1 ? -x : x, sign2 ? -y : y);
        ++count;
        done = feedBit | (feedBit - 1);
        at = feed + 1;
        feeds &= feeds - 1;
    }
    *taken = at;
    return count;
}
#else
static inline const char* QuickNumber(const char* p, int32_t* value) {
    const bool negative = (*p == '-');
    if (negative) ++p;
    int32_t v = 0;
    int length = 0;
    unsigned digit;
    while (length < 9 && (digit = (unsigned)(unsigned char)p[length] - '0') <= 9) {
        v = v * 10 + (int32_t)digit;
        ++length;
    }
    if (length == 0 || length > 8) return nullptr;
    *value = negative ? -v : v;
    return p + length;
}

static inline int QuickPointLines(const char* p, VectorPoint* out, int* taken) {
    const char* at = p;
    int count = 0;
    while (count < QUICK_LINES) {
        int32_t v, x, y;
        const char* q = at;
        if (!(q = QuickNumber(q, &v)) || *q != ',') break;
        if (!(q = QuickNumber(q + 1, &x)) || *q != ',') break;
        if (!(q = QuickNumber(q + 1, &y))) break;
        if (*q == '\r') ++q;
        if (*q != '\n') break;
        SetCsvPoint(&out[count++], v, x, y);
        at = q + 1;
    }
    *taken = (int)(at - p);
    return count;
}
#endif

static CsvInput csvInput;
static_assert((int)QUICK_READ_BEYOND <= (int)CSV_INPUT_SLACK,
              "the quick scan reads beyond the data");

// Frames the store has no room for are still read through, into these, so
// that the account can say what they held.
static VectorPoint unstoredPoints[MAX_POINTS];
static FrameName unstoredName;

// Reads the lines of one frame: up to room points into points, its name
// lines into name. *kept gets the points stored, *total the point lines of
// the frame. Returns 1 when a "+" line ended it (another frame follows), 0
// at the end of the data.
static int ReadFrameLines(CsvInput* in, VectorPoint* points, int room, FrameName* name, int* kept,
                          int64_t* total) {
    char line[CSV_LINE_BUFFER];
    VectorPoint spare[QUICK_LINES];  // takes the points beyond the frame's limit
    int n = 0, more = 0;
    int64_t lines = 0;
    for (;;) {
        VectorPoint* out = n <= room - QUICK_LINES ? &points[n] : spare;
        int taken = 0;
        const int quick = QuickPointLines(in->block + in->pos, out, &taken);
        if (quick) {
            in->pos += (size_t)taken;
            lines += quick;
            if (out != spare) {
                n += quick;
            } else {
                for (int i = 0; i < quick && n < room; ++i) points[n++] = spare[i];
            }
            continue;
        }
        const int length = ReadCsvPiece(in, line);
        if (length < 0) break;
        if (line[0] == '+') {
            more = 1;
            break;
        }
        int32_t fields[3];
        if (ParseCsvPointLine(line, fields)) {
            ++lines;
            if (n < room) SetCsvPoint(&points[n++], fields[0], fields[1], fields[2]);
        } else {
            ParseCsvNameLine(line, length, name);
        }
    }
    *kept = n;
    *total = lines;
    return more;
}

int ReadCsvFrames(UiWindow owner, const char* path, int insert) {
    errno = 0;
    FILE* stream = OpenPathStream(path, "rb");
    if (!stream) {
        ShowFileWarning(owner, path, "Failed to open frame file.", LOADING_CAPTION,
                        path ? errno : ENOENT);
        return 0;
    }
    CsvInput* in = &csvInput;
    StartCsvInput(in, stream);
    ReadAccount* account = &lastReadAccount;
    StartReadAccount(account, READ_PLACE_FRAME);
    char line[CSV_LINE_BUFFER];
    int32_t speed = 0, delay = 0;
    if (ReadCsvPiece(in, line) < 0 || !ParseCsvHeader(line, &speed, &delay)) {
        std::fclose(stream);
        if (in->failed) {
            StopReading(account, READ_STOP_READ_ERROR, 1, 0);
            ReportReadAccount(owner, path, account);
        } else {
            ShowFileWarning(owner, path, "Invalid Csv frame file.", LOADING_CAPTION, 0);
        }
        return 0;
    }
    // The document changes only once the header has been accepted.
    if (!insert) {
        ClearFrameStore();
        ScanSpeed = ClampInt(speed, SCAN_SPEED_MIN, SCAN_SPEED_MAX);
        BlankingDelay = ClampInt(delay, BLANKING_DELAY_MIN, CSV_BLANKING_DELAY_MAX);
    }
    int index = frameStore.currentFrame;
    bool storeFull = false;
    for (int32_t frame = 1;; ++frame) {
        int kept = 0, more = 0;
        int64_t total = 0;
        if (!storeFull && BlankFrameForReading(index, insert)) {
            FrameName* name = &frameStore.frameNames[index];
            int64_t length = 0;  // before the frame is cut to MAX_POINTS
            if (FittingLongFrames()) {
                // Read as far as the fitting can see, fitted, then cut.
                more = ReadFrameLines(in, longFramePoints, LONG_FRAME_POINTS, name, &kept, &total);
                length = FitIntoFrame(longFramePoints, kept, workingFrame.points) + (total - kept);
                kept = length < MAX_POINTS ? (int)length : MAX_POINTS;
            } else {
                more = ReadFrameLines(in, workingFrame.points, MAX_POINTS, name, &kept, &total);
                length = total;
            }
            workingFrame.count = kept;
            StoreFrame(index, true);
            ++index;
            account->framesRead += 1;
            account->pointsRead += kept;
            if (length > MAX_POINTS) {
                account->longFrames += 1;
                account->pointsBeyondLimit += length - MAX_POINTS;
            }
        } else {
            // Read through and counted, so that the account says what did
            // not fit.
            storeFull = true;
            more = ReadFrameLines(in, unstoredPoints, MAX_POINTS, &unstoredName, &kept, &total);
            account->framesBeyondStore += 1;
            account->pointsBeyondStore += total;
        }
        if (!more) {
            if (in->failed) StopReading(account, READ_STOP_READ_ERROR, frame, 0);
            break;
        }
    }
    std::fclose(stream);
    // Only an insertion into a full store can take nothing; it changed nothing.
    if (ReadFoundNoFrame(account)) {
        ReportReadAccount(owner, path, account);
        return 0;
    }
    LoadFrame(frameStore.currentFrame);
    TakeUndoSnapshot(UNDO_DISCARD);
    ReportReadAccount(owner, path, account);
    return 1;
}

// ---- Writing ---------------------------------------------------------------

static TextOutput csvOutput;

// Every line is written through here first, so one check per line keeps the
// buffer from overflowing.
static char* LineRoom(TextOutput* out) {
    return TextRoom(out, LONGEST_LINE);
}

static char* PutLineEnd(char* p) {
    p[0] = '\r';
    p[1] = '\n';
    return p + 2;
}

// How a name line is written. A name that the first two forms carry exactly
// is written as it always was: bare, or in double quotes when a comma would
// end a bare name or a leading "+" would make it a separator. Any other name
// (a double quote where it would end the name, a byte below 0x20 or of 0x80
// and above) is written in the full form: a double quote, the name with
// each double quote doubled, a double quote and a comma; its bytes are read
// back as they are. Lines of the first two forms never end in a comma (a
// quoted line ends in its double quote, a bare one holds no comma), so every
// file written before reads as it always did. At most 35 characters: one
// piece of a line.
enum { NAME_BARE, NAME_QUOTED, NAME_FULL };

static int NameForm(const unsigned char* bytes, size_t length) {
    bool comma = false, quote = false;
    for (size_t i = 0; i < length; ++i) {
        if (bytes[i] < 0x20 || bytes[i] >= 0x80) return NAME_FULL;
        comma = comma || bytes[i] == ',';
        quote = quote || bytes[i] == '"';
    }
    if (comma || (length > 0 && bytes[0] == '+')) return quote ? NAME_FULL : NAME_QUOTED;
    return length > 0 && bytes[0] == '"' ? NAME_FULL : NAME_BARE;
}

// The name as stored, up to a zero byte. A CR or LF would split the line
// into invented frames and points, so each is written as a space.
static void WriteNameLine(TextOutput* out, const FrameName* name) {
    unsigned char bytes[FRAME_NAME_LENGTH];
    size_t length = 0;
    while (length < FRAME_NAME_LENGTH && name->bytes[length] != 0) {
        const unsigned char c = (unsigned char)name->bytes[length];
        bytes[length++] = (c == '\r' || c == '\n') ? ' ' : c;
    }
    const int form = NameForm(bytes, length);
    char* p = LineRoom(out);
    if (form != NAME_BARE) *p++ = '"';
    for (size_t i = 0; i < length; ++i) {
        if (form == NAME_FULL && bytes[i] == '"') *p++ = '"';
        *p++ = (char)bytes[i];
    }
    if (form != NAME_BARE) *p++ = '"';
    if (form == NAME_FULL) *p++ = ',';
    out->cursor = PutLineEnd(p);
}

static void WritePointLines(TextOutput* out, const VectorPoint* points, int count) {
    for (int i = 0; i < count; ++i) {
        char* p = LineRoom(out);
        *p++ = (points[i].flags & POINT_VISIBLE) ? '1' : '0';
        *p++ = ',';
        p = PutDecimal(p, points[i].x);
        *p++ = ',';
        p = PutDecimal(p, -(int32_t)points[i].y);  // full int: y = -32768 gives 32768
        out->cursor = PutLineEnd(p);
    }
}

int WriteCsvFrames(UiWindow owner, const char* path, int first, int last) {
    TextOutput* out = &csvOutput;
    if (!BeginTextOutput(out, owner, path)) return 0;

    char* p = LineRoom(out);
    std::memcpy(p, "VECTOR,", 7);
    p = PutDecimal(p + 7, ScanSpeed);
    *p++ = ',';
    p = PutDecimal(p, BlankingDelay);
    out->cursor = PutLineEnd(p);

    if (first < 0) first = 0;
    if (last > MAX_FRAMES - 1) last = MAX_FRAMES - 1;
    for (int i = first; i <= last && !out->file.failed; ++i) {
        WriteNameLine(out, &frameStore.frameNames[i]);
        int count = ClampInt(frameStore.pointCounts[i], 0, MAX_POINTS);
        WritePointLines(out, frameStore.frames[i], count);
        if (i < last) {
            p = LineRoom(out);
            *p++ = '+';
            out->cursor = PutLineEnd(p);
        }
    }
    return FinishTextOutput(out, owner);
}
