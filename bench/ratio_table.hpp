// The table every benchmark prints: a row names a case, gives our time and each rival's in ns,
// and the ratio ours/rival for each rival, so a ratio below 1 always means ours is faster. The
// last row holds the geometric mean of every ratio column.
#pragma once

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <cstdio>
#include <string>
#include <vector>

namespace qtx::bench {

// A column naming the rows: its header and printf field width, negative to left-align.
struct label_column {
    const char* header;
    int width;
};

inline double geometric_mean(const std::vector<double>& values) {
    double log_sum = 0;
    for (double v : values)
        log_sum += std::log(v);
    return values.empty() ? 0 : std::exp(log_sum / static_cast<double>(values.size()));
}

// Labels label columns and Rivals rivals, both counted from the constructor's arguments.
template <std::size_t Labels, std::size_t Rivals> class ratio_table {
  public:
    ratio_table(const label_column (&labels)[Labels], const char* const (&rivals)[Rivals])
        : labels_(std::to_array(labels)) {
        headers_.push_back("ours ns");
        for (const char* rival : rivals)
            headers_.push_back(std::string(rival) + " ns");
        for (const char* rival : rivals)
            headers_.push_back(std::string("ours/") + rival);
        for (const std::string& header : headers_)
            widths_.push_back(std::max(minimum_width, static_cast<int>(header.size())));
        std::printf("(ours/X: our time over X's, below 1 when ours is faster)\n");
        print_labels([&](std::size_t i) { return labels_[i].header; });
        print_cells([&](std::size_t i) { std::printf(" %*s", widths_[i], headers_[i].c_str()); });
    }

    ratio_table(const ratio_table&) = delete;
    ratio_table& operator=(const ratio_table&) = delete;

    // ours_ns = 0 means ours could not run the case (no plan).
    void add(const std::string (&labels)[Labels], double ours_ns,
             const double (&rivals_ns)[Rivals]) {
        print_labels([&](std::size_t i) { return labels[i].c_str(); });
        if (ours_ns == 0) {
            std::printf(" %*s\n", widths_[0], "no plan");
            return;
        }
        std::array<double, 1 + 2 * Rivals> values{ours_ns};
        for (std::size_t r = 0; r < Rivals; ++r) {
            values[1 + r] = rivals_ns[r];
            values[1 + Rivals + r] = ours_ns / rivals_ns[r];
            ratios_[r].push_back(ours_ns / rivals_ns[r]);
        }
        print_cells([&](std::size_t i) {
            std::printf(" %*.*f", widths_[i], i <= Rivals ? 1 : 2, values[i]);
        });
    }

    ~ratio_table() {
        print_labels([](std::size_t i) { return i == 0 ? "geomean" : ""; });
        print_cells([&](std::size_t i) {
            if (i <= Rivals)
                std::printf(" %*s", widths_[i], "");
            else
                std::printf(" %*.2f", widths_[i], geometric_mean(ratios_[i - 1 - Rivals]));
        });
    }

  private:
    static constexpr int minimum_width = 12;

    template <class Text> void print_labels(Text&& text) const {
        for (std::size_t i = 0; i < Labels; ++i)
            std::printf("%s%*s", i ? " " : "", labels_[i].width, text(i));
    }
    template <class Cell> void print_cells(Cell&& cell) const {
        for (std::size_t i = 0; i < headers_.size(); ++i)
            cell(i);
        std::printf("\n");
    }

    std::array<label_column, Labels> labels_;
    std::vector<std::string> headers_; // ours, then each rival's time, then each ratio
    std::vector<int> widths_;
    std::array<std::vector<double>, Rivals> ratios_;
};

} // namespace qtx::bench
