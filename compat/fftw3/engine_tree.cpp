// What the interface reads of an engine plan. The handle is the engine's plan record; its
// tree is read here field by field, without calling into the engine, whose exports offer no
// such query.
#include "compat/fftw3/plan.hpp"
#include "fft/api.hpp"
#include "tools/plan_node_text.hpp"

namespace qtx::QVSIP_FFTW3_NAMESPACE {
namespace {

using engine_record = qtx::QTX_ENGINE::plan_record;

// A work buffer anywhere in the tree is scratch that every execution writes.
bool holds_scratch(const engine_record& node) {
    if (node.buffer != nullptr) return true;
    for (std::uint32_t i = 0; i < node.child_count; ++i)
        if (holds_scratch(node.children[i])) return true;
    return false;
}

} // namespace

bool runs_concurrently(engine_plan plan) {
    return !holds_scratch(*qtx::QTX_ENGINE::record_of(plan));
}

void print_engine_tree(engine_plan plan, int depth, std::FILE* out) {
    qtx::QTX_ENGINE::plan_text::print_tree(
        *qtx::QTX_ENGINE::record_of(plan), depth, out,
        [](const engine_record&) -> const char* { return nullptr; },
        [](const engine_record&, std::FILE*) {});
}

} // namespace qtx::QVSIP_FFTW3_NAMESPACE
