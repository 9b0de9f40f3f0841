// The source tree's includes, read as a reader would check them: each
// folder includes only its own headers and those of the folders below it
// (the build enforces this too, by what each folder's library sees), and no
// source file reaches back to itself through the headers it includes.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

// What each folder may include besides itself.
const std::map<std::string, std::set<std::string>> BELOW = {
    {"resources", {"document"}},
    {"document", {"resources"}},
    {"formats", {"document", "resources"}},
    {"files", {"formats", "document", "resources"}},
    {"canvas", {"formats", "document", "resources"}},
    {"tables", {"formats", "document", "resources"}},
    {"app", {"files", "canvas", "tables", "formats", "document", "resources"}},
    {"convert", {"formats", "document", "resources"}},
};

// A header and its source file are one unit: "app/shell_win32".
using Graph = std::map<std::string, std::set<std::string>>;

std::string UnitOf(const std::string& path) {
    return path.substr(0, path.rfind('.'));
}

// Every '#include "folder/name.h"' of the program's folders, by unit.
Graph ReadIncludes(std::vector<std::string>* wrongWay) {
    Graph graph;
    const fs::path root = QUILLON_SOURCE_DIR;
    for (const auto& [folder, below] : BELOW) {
        if (!fs::exists(root / folder)) continue;
        for (const auto& entry : fs::directory_iterator(root / folder)) {
            const std::string name = entry.path().filename().string();
            const std::string ext = entry.path().extension().string();
            if (ext != ".h" && ext != ".cpp") continue;
            const std::string unit = UnitOf(folder + "/" + name);
            graph[unit];
            std::ifstream file(entry.path());
            for (std::string line; std::getline(file, line);) {
                if (line.rfind("#include \"", 0) != 0) continue;
                const std::string included = line.substr(10, line.find('"', 10) - 10);
                const std::string to = included.substr(0, included.find('/'));
                if (to != folder && !below.count(to))
                    wrongWay->push_back(folder + "/" + name + " includes " + included);
                if (UnitOf(included) != unit) graph[unit].insert(UnitOf(included));
            }
        }
    }
    return graph;
}

// One circle of units, as a path that ends where it starts; empty if none.
std::vector<std::string> FindCircle(const Graph& graph) {
    std::map<std::string, int> state;  // 0 unseen, 1 on the path, 2 done
    std::vector<std::string> path, circle;
    std::function<bool(const std::string&)> visit = [&](const std::string& unit) {
        state[unit] = 1;
        path.push_back(unit);
        auto edges = graph.find(unit);
        if (edges != graph.end()) {
            for (const std::string& next : edges->second) {
                if (state[next] == 1) {
                    auto start = std::find(path.begin(), path.end(), next);
                    circle.assign(start, path.end());
                    circle.push_back(next);
                    return true;
                }
                if (state[next] == 0 && visit(next)) return true;
            }
        }
        path.pop_back();
        state[unit] = 2;
        return false;
    };
    for (const auto& [unit, edges] : graph)
        if (state[unit] == 0 && visit(unit)) break;
    return circle;
}

TEST(IncludeLayers, EveryFolderIncludesOnlyItselfAndTheFoldersBelow) {
    std::vector<std::string> wrongWay;
    const Graph graph = ReadIncludes(&wrongWay);
    EXPECT_GT(graph.size(), 50u) << "the source tree was not found at " << QUILLON_SOURCE_DIR;
    for (const std::string& include : wrongWay) ADD_FAILURE() << include;
}

TEST(IncludeLayers, NoSourceFileReachesItselfThroughItsIncludes) {
    std::vector<std::string> wrongWay;
    const std::vector<std::string> circle = FindCircle(ReadIncludes(&wrongWay));
    std::string text;
    for (const std::string& unit : circle) text += (text.empty() ? "" : " -> ") + unit;
    EXPECT_TRUE(circle.empty()) << text;
}

// The check itself finds a circle, and one through several units.
TEST(IncludeLayers, CirclesAreFound) {
    EXPECT_TRUE(FindCircle({{"a", {"b"}}, {"b", {"c"}}, {"c", {}}}).empty());
    EXPECT_EQ(FindCircle({{"a", {"b"}}, {"b", {"c"}}, {"c", {"a"}}}),
              (std::vector<std::string>{"a", "b", "c", "a"}));
}

}  // namespace
