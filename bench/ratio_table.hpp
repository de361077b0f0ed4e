// The table every benchmark prints: a row names a case, gives our time and each rival's in ns,
// and the ratio ours/rival for each rival, so a ratio below 1 always means ours is faster. The
// last row holds the geometric mean of every ratio column.
//
// With QTX_BENCH_CSV=<file> in the environment every row is also appended to that file as
// CSV: the table's title, the labels, the times and the ratios (the header line is written
// when the file is empty). Titles and labels lose their commas there so the rows stay plain
// CSV for awk and gnuplot.
#pragma once

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <utility>
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
    // A non-empty title is printed above the table and heads each of its CSV rows.
    ratio_table(const label_column (&labels)[Labels], const char* const (&rivals)[Rivals],
                std::string title = "")
        : labels_(std::to_array(labels)), title_(std::move(title)) {
        if (!title_.empty()) std::printf("\n%s\n", title_.c_str());
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
        open_csv();
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
        if (csv_) {
            csv_row([&](std::size_t i) { return labels[i]; });
            std::fprintf(csv_, ",%.6g", ours_ns);
            for (double ns : rivals_ns)
                std::fprintf(csv_, ",%.6g", ns);
            for (double ns : rivals_ns)
                std::fprintf(csv_, ",%.6g", ours_ns / ns);
            std::fprintf(csv_, "\n");
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
        if (csv_) {
            csv_row([](std::size_t i) { return std::string(i == 0 ? "geomean" : ""); });
            for (std::size_t i = 0; i <= Rivals; ++i)
                std::fprintf(csv_, ",");
            for (const std::vector<double>& ratios : ratios_)
                std::fprintf(csv_, ",%.6g", geometric_mean(ratios));
            std::fprintf(csv_, "\n");
            std::fclose(csv_);
        }
    }

  private:
    static constexpr int minimum_width = 12;

    template <class Text> void print_labels(Text&& text) const {
        for (std::size_t i = 0; i < Labels; ++i)
            std::printf("%s%*s", i ? " " : "", labels_[i].width, text(i));
    }
    static std::string csv_field(std::string text) {
        std::replace(text.begin(), text.end(), ',', ';');
        return text;
    }
    void open_csv() {
        const char* path = std::getenv("QTX_BENCH_CSV");
        if (!path || !*path) return;
        csv_ = std::fopen(path, "a");
        if (!csv_) {
            std::perror(path);
            return;
        }
        std::fseek(csv_, 0, SEEK_END);
        if (std::ftell(csv_) != 0) return;
        std::fprintf(csv_, "table");
        for (const label_column& label : labels_)
            std::fprintf(csv_, ",%s", csv_field(label.header).c_str());
        for (const std::string& header : headers_)
            std::fprintf(csv_, ",%s", csv_field(header).c_str());
        std::fprintf(csv_, "\n");
    }
    template <class Text> void csv_row(Text&& text) const {
        std::fprintf(csv_, "%s", csv_field(title_).c_str());
        for (std::size_t i = 0; i < Labels; ++i)
            std::fprintf(csv_, ",%s", csv_field(text(i)).c_str());
    }
    template <class Cell> void print_cells(Cell&& cell) const {
        for (std::size_t i = 0; i < headers_.size(); ++i)
            cell(i);
        std::printf("\n");
    }

    std::array<label_column, Labels> labels_;
    std::string title_;
    std::FILE* csv_ = nullptr;
    std::vector<std::string> headers_; // ours, then each rival's time, then each ratio
    std::vector<int> widths_;
    std::array<std::vector<double>, Rivals> ratios_;
};

} // namespace qtx::bench
