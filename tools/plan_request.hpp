// What qtx-plan is asked to plan, independent of the engine precision: the transform family,
// its lengths and layout, and the planner interface that receives it.
#pragma once

#include <cstdint>

enum class transform_family { c2c, r2c, c2r, r2r };

inline constexpr int max_request_rank = 3;

struct plan_request {
    transform_family family = transform_family::c2c;
    int rank = 0;
    int64_t n[max_request_rank] = {};
    int kinds[max_request_rank] = {}; // r2r kind codes, one per dimension
    int sign = -1;                    // c2c only; r2c is forward, c2r backward
    int64_t in_stride = 1;            // of the last dimension; outer dimensions are packed
    int64_t out_stride = 1;
    bool batched = false; // --howmany given: a batch dimension is passed even for 1
    int64_t howmany = 1;
    bool dist_given = false;
    int64_t in_dist = 0;
    int64_t out_dist = 0;
    bool in_place = false;
    bool split = false;
    bool many = false; // the advanced (many) planner instead of guru64
    bool double_precision = false;
    int threads = 1;
};

struct layout_dim {
    int64_t n, is, os;
};

// The dimensions the request passes, outermost first, with the outer strides packed as the
// many planner packs them (the last dimension of a real transform holds n/2 + 1 complex values
// on its complex side and, in place, 2(n/2 + 1) reals on its real side), and the batch with
// the given distances or, by default, one packed transform after another.
struct request_layout {
    layout_dim dims[max_request_rank];
    layout_dim batch;
};

// False when a packed stride or distance overflows 64 bits.
bool layout_of(const plan_request& request, request_layout* layout);

// Human names: "c2c", "r2hc", "forward", ...
const char* family_name(transform_family family);
// The r2r kind of a code 0..10, or null for any other code.
const char* r2r_kind_name(int code);
// The code of an r2r kind name or number 0..10 (other numbers pass through for the planner
// to judge); false when the text is neither.
bool parse_r2r_kind(const char* text, int* code);
