// Names for the cases of parameterised tests, so that a failing case names itself.
#pragma once

#include <gtest/gtest.h>

#include <cctype>
#include <cstddef>
#include <string>
#include <tuple>
#include <utility>

namespace qtx::test {

// Names a case by its integer parameter after a prefix: named_by{"n"} gives "n1009". A tuple
// parameter takes one prefix per element: named_by{"kind", "n"} gives "kind3_n100".
template <size_t N> struct named_by {
    const char* prefix[N];

    template <typename T> std::string operator()(const testing::TestParamInfo<T>& info) const {
        if constexpr (N == 1) {
            return std::string(prefix[0]).append(std::to_string(info.param));
        } else {
            std::string name;
            [&]<size_t... I>(std::index_sequence<I...>) {
                ((name.append(I ? "_" : "")
                      .append(prefix[I])
                      .append(std::to_string(std::get<I>(info.param)))),
                 ...);
            }
            (std::make_index_sequence<N>());
            return name;
        }
    }
};

template <typename... P> named_by(P...) -> named_by<sizeof...(P)>;

// Names a case by its label, every character but letters and digits made '_':
// "strided 7 x 100" gives "strided_7_x_100".
inline constexpr auto named_by_label = [](const auto& info) {
    std::string name = info.param.label;
    for (char& c : name)
        if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
    return name;
};

} // namespace qtx::test
