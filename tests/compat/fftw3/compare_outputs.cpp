// compare_outputs <tolerance> <expected> <actual> [marker]
// Compares the conformance program's output with the reference one line by line. Lines
// starting with '#', and the lines between "#begin..." and "#end", are informational and
// skipped; lines starting with '=' must be equal; on any other line the first word must be
// equal and the numbers after it may differ by the tolerance times the largest magnitude on
// the line. With a marker, the actual output (informational lines included) must contain it.
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

namespace {

struct output {
    std::vector<std::string> lines;
    bool marked = false;
};

output read(const char* path, const std::string& marker) {
    output out;
    std::ifstream in(path);
    bool skipping = false;
    for (std::string line; std::getline(in, line);) {
        if (!marker.empty() && line.find(marker) != std::string::npos) out.marked = true;
        if (skipping)
            skipping = line != "#end";
        else if (line.starts_with("#begin"))
            skipping = true;
        else if (!line.starts_with("#"))
            out.lines.push_back(line);
    }
    return out;
}

std::vector<std::string> words(const std::string& line) {
    std::istringstream in(line);
    std::vector<std::string> w;
    for (std::string word; in >> word;)
        w.push_back(word);
    return w;
}

bool number(const std::string& word, double& value) {
    char* end = nullptr;
    value = std::strtod(word.c_str(), &end);
    return !word.empty() && *end == '\0';
}

bool agree(const std::string& expected, const std::string& actual, double tolerance) {
    if (expected.starts_with("=") || actual.starts_with("=")) return expected == actual;
    const auto e = words(expected), a = words(actual);
    if (e.size() != a.size() || e.empty() || e[0] != a[0]) return false;
    double scale = 0, x = 0, y = 0;
    for (std::size_t i = 1; i < e.size(); ++i) {
        if (number(e[i], x)) scale = std::max(scale, std::fabs(x));
        if (number(a[i], y)) scale = std::max(scale, std::fabs(y));
    }
    for (std::size_t i = 1; i < e.size(); ++i) {
        const bool numeric = number(e[i], x) && number(a[i], y);
        if (numeric ? !(std::fabs(x - y) <= tolerance * scale) : e[i] != a[i]) return false;
    }
    return true;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 4) {
        std::cerr << "usage: compare_outputs tolerance expected actual [marker]\n";
        return 2;
    }
    const double tolerance = std::strtod(argv[1], nullptr);
    const std::string marker = argc > 4 ? argv[4] : "";
    const output expected = read(argv[2], ""), actual = read(argv[3], marker);
    if (!marker.empty() && !actual.marked) {
        std::cerr << "the output does not contain \"" << marker << "\"\n";
        return 1;
    }
    const std::size_t n = std::max(expected.lines.size(), actual.lines.size());
    for (std::size_t i = 0; i < n; ++i) {
        const std::string e = i < expected.lines.size() ? expected.lines[i] : "(end of output)";
        const std::string a = i < actual.lines.size() ? actual.lines[i] : "(end of output)";
        if (!agree(e, a, tolerance)) {
            std::cerr << "compared line " << i + 1 << " differs\nexpected: " << e
                      << "\nactual:   " << a << '\n';
            return 1;
        }
    }
    std::cout << n << " lines agree\n";
    return 0;
}
