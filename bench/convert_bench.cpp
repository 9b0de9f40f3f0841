// What the converter's options cost, as whole runs of quillon-convert on a
// document of 1000 frames of 3000 pseudo-random points: each option's run
// beside the plain conversion of the same file, taken in turn so that both
// see the same machine. The counter vs_plain is the option's time over the
// plain one's; each option may take at most 1.5 times as long. --fit also
// runs on 1000 frames of 6000 points, every point held twice, as long
// frames of show programs hold them. --check, which walks the file besides
// reading it, is held against the conversion for scale, and its --speed
// against --check alone. The files live in a temporary folder removed at
// exit.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <spawn.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "bench/bench_store.h"
#include "document/frame_store.h"
#include "formats/csv_file.h"
#include "formats/ilda_file.h"

extern char** environ;

namespace {

const uint32_t CONVERT_SEED = 1597334677u;

std::string benchDir;

std::string In(const char* name) {
    return benchDir + "/" + name;
}

void RemoveFiles() {
    if (benchDir.empty()) return;
    for (const char* name : {"doc.ild", "doc.csv", "long.ild", "out.ild", "out.svg", "out.csv"})
        std::remove(In(name).c_str());
    rmdir(benchDir.c_str());
}

void PutBigEndian16(std::string* out, unsigned value) {
    out->push_back((char)(value >> 8));
    out->push_back((char)value);
}

// 1000 frames of 6000 format 0 records, each point twice in a row.
bool WriteLongFile(const std::string& path) {
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return false;
    uint32_t seed = CONVERT_SEED;
    std::string section;
    for (int frame = 0; frame <= MAX_FRAMES; ++frame) {
        const unsigned records = frame < MAX_FRAMES ? 2 * MAX_POINTS : 0;
        section.assign("ILDA\0\0\0\0", 8);
        section.append("long frame      ");
        PutBigEndian16(&section, records);
        PutBigEndian16(&section, (unsigned)frame);
        PutBigEndian16(&section, MAX_FRAMES);
        section.append(2, '\0');
        for (unsigned i = 0; i < records; i += 2) {
            seed ^= seed << 13;
            seed ^= seed >> 17;
            seed ^= seed << 5;
            std::string record;
            PutBigEndian16(&record, seed >> 8);
            PutBigEndian16(&record, seed >> 16);
            PutBigEndian16(&record, 0);
            record.push_back((seed & 3) ? 0 : 0x40);
            record.push_back(1);
            section += record + record;
        }
        std::fwrite(section.data(), 1, section.size(), f);
    }
    return std::fclose(f) == 0;
}

bool Prepare() {
    if (!benchDir.empty()) return true;
    char pattern[] = "/tmp/quillon-convert-bench-XXXXXX";
    if (!mkdtemp(pattern)) return false;
    benchDir = pattern;
    std::atexit(RemoveFiles);
    FillBenchStore(CONVERT_SEED);
    // The store's 999 frames and one more, as a full document holds.
    std::memcpy(frameStore.frames[BENCH_FRAMES], frameStore.frames[0], sizeof frameStore.frames[0]);
    frameStore.pointCounts[BENCH_FRAMES] = MAX_POINTS;
    frameStore.frameNames[BENCH_FRAMES] = frameStore.frameNames[0];
    frameStore.numFrames = MAX_FRAMES;
    return WriteIldaFrames(nullptr, In("doc.ild").c_str(), 0, MAX_FRAMES - 1) &&
           WriteCsvFrames(nullptr, In("doc.csv").c_str(), 0, MAX_FRAMES - 1) &&
           WriteLongFile(In("long.ild"));
}

// Runs the converter with args, its output streams to /dev/null; returns
// the seconds it took, or -1 when it failed.
double RunConverter(const std::string& args) {
    std::vector<std::string> words;
    for (size_t at = 0; at < args.size();) {
        size_t end = args.find(' ', at);
        if (end == std::string::npos) end = args.size();
        std::string word = args.substr(at, end - at);
        if (word.find('/') == std::string::npos && word.find('.') != std::string::npos)
            word = In(word.c_str());
        if (!word.empty()) words.push_back(word);
        at = end + 1;
    }
    std::vector<char*> argv;
    std::string program = QUILLON_CONVERT_PATH;
    argv.push_back(&program[0]);
    for (std::string& word : words) argv.push_back(&word[0]);
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    const auto start = std::chrono::steady_clock::now();
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    int status = 0;
    if (spawned != 0 || waitpid(pid, &status, 0) != pid) return -1;
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
    // --check exits 1 when it would lose something; every other run must exit 0.
    const int exit = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    if (exit != 0 && !(exit == 1 && args.rfind("--check", 0) == 0)) return -1;
    return took.count();
}

// The option's run and the plain one in turn; the time of the option's.
void BM_Convert(benchmark::State& state, const char* option, const char* plain) {
    if (!Prepare()) return state.SkipWithError("setup failed");
    double optionTotal = 0, plainTotal = 0;
    for (auto _ : state) {
        const double base = RunConverter(plain), took = RunConverter(option);
        if (base < 0 || took < 0) return state.SkipWithError("the converter failed");
        plainTotal += base;
        optionTotal += took;
        state.SetIterationTime(took);
    }
    state.counters["plain_ms"] = 1000 * plainTotal / (double)state.iterations();
    state.counters["vs_plain"] = optionTotal / plainTotal;
}

#define CONVERT_BENCHMARK(name, option, plain)         \
    BENCHMARK_CAPTURE(BM_Convert, name, option, plain) \
        ->UseManualTime()                              \
        ->Iterations(5)                                \
        ->Unit(benchmark::kMillisecond)

CONVERT_BENCHMARK(ilda_format_0, "--ilda-format 0 doc.ild out.ild", "doc.ild out.ild");
CONVERT_BENCHMARK(ilda_format_1, "--ilda-format 1 doc.ild out.ild", "doc.ild out.ild");
CONVERT_BENCHMARK(ilda_format_4, "--ilda-format 4 --colour 10A0FF doc.ild out.ild",
                  "doc.ild out.ild");
CONVERT_BENCHMARK(ilda_format_5, "--ilda-format 5 doc.ild out.ild", "doc.ild out.ild");
CONVERT_BENCHMARK(blanked, "--blanked doc.ild out.svg", "doc.ild out.svg");
CONVERT_BENCHMARK(points, "--points doc.ild out.svg", "doc.ild out.svg");
CONVERT_BENCHMARK(animate_blanked_points, "--animate --blanked --points doc.ild out.svg",
                  "--animate doc.ild out.svg");
CONVERT_BENCHMARK(fit_ilda, "--fit doc.ild out.ild", "doc.ild out.ild");
CONVERT_BENCHMARK(fit_csv, "--fit doc.csv out.ild", "doc.csv out.ild");
CONVERT_BENCHMARK(fit_long_frames, "--fit long.ild out.ild", "long.ild out.ild");
CONVERT_BENCHMARK(check_ilda, "--check doc.ild", "doc.ild out.ild");
CONVERT_BENCHMARK(check_csv, "--check doc.csv", "doc.csv out.ild");
CONVERT_BENCHMARK(check_long_frames, "--check long.ild", "long.ild out.ild");
CONVERT_BENCHMARK(check_speed, "--check doc.csv --speed 20000", "--check doc.csv");

}  // namespace
