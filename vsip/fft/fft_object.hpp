// The records behind vsip_fft_f (transforms of vectors) and vsip_fftm_f (transforms of the rows
// or columns of matrices): the attributes a create call gave and the engine state planned then.
#pragma once

#include "qvsip.h"
#include "vsip/fft/fft_engine.hpp"
#include "vsip/record.hpp"

#include <cstdint>

namespace qvsip::fft {

struct object_record {
    float scale;
    std::int32_t direction; // VSIP_FFT_FWD or VSIP_FFT_INV
    std::uint32_t place;    // vsip_fft_place
    std::uint32_t major;    // matrix objects: vsip_major of the transforms
    std::uint64_t ntimes;   // kept for the caller; plans never measure, so it changes nothing
    std::uint32_t hint;
    engine_state* state;
    std::uint32_t tag;
};

// What a create call asks for besides the transform shape.
struct object_settings {
    vsip_scalar_f scale;
    vsip_fft_place place;
    vsip_major major;
    vsip_length ntimes;
    vsip_alg_hint hint;
};

// Sign and stored direction of a complex transform: VSIP_FFT_FWD is the forward transform, any
// other value the inverse.
inline std::int32_t sign_of(vsip_fft_dir dir) {
    return dir == VSIP_FFT_FWD ? -1 : +1;
}
inline vsip_fft_dir direction_of(std::int32_t sign) {
    return sign < 0 ? VSIP_FFT_FWD : VSIP_FFT_INV;
}

// The record with its engine state, or null with nothing left allocated.
template <class Record>
Record* create_object(const transform_shape& shape, const object_settings& settings) {
    Record* object = new_record<Record>();
    if (object == nullptr) return nullptr;
    object->state = make_engine_state(shape, settings.hint);
    if (object->state == nullptr) {
        retire_record(object);
        return nullptr;
    }
    object->scale = settings.scale;
    object->direction = direction_of(shape.sign);
    object->place = settings.place;
    object->major = settings.major == VSIP_ROW ? VSIP_ROW : VSIP_COL;
    object->ntimes = settings.ntimes;
    object->hint = static_cast<std::uint32_t>(settings.hint);
    object->tag = live_tag;
    return object;
}

template <class Record> int destroy_object(Record* object) {
    if (object == nullptr) return 0;
    release_engine_state(object->state);
    retire_record(object);
    return 0;
}

} // namespace qvsip::fft

struct vsip_fft_f_s : qvsip::fft::object_record {};
struct vsip_fftm_f_s : qvsip::fft::object_record {};
