// Names for the cases of parameterised tests, so that a failing case names itself.
#pragma once

#include <gtest/gtest.h>

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

} // namespace qtx::test
