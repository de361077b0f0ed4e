// Wisdom. Planning never measures, so there is nothing to remember: export always writes the
// same short document naming this library, and import checks that its input is one
// well-formed wisdom document (a parenthesised list whose first word names the producer:
// ours, or the original library's) and discards it.
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "compat/fftw3/plan.hpp"

namespace {

constexpr char wisdom_document[] =
    "(qvsip-" QVSIP_FFTW3_VERSION " " QVSIP_FFTW3_PRECISION_NAME "_wisdom)\n";

bool is_space(int c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f';
}
bool is_word(int c) {
    return c > ' ' && c < 127 && c != '(' && c != ')';
}

// Reads one wisdom document: "(" producer-word, then words and nested lists, then ")".
template <typename Next> int read_document(Next next) {
    int c = next();
    while (is_space(c))
        c = next();
    if (c != '(') return 0;
    c = next();
    if (!is_word(c)) return 0;
    int depth = 1;
    while (depth > 0) {
        c = next();
        if (c == '(')
            ++depth;
        else if (c == ')')
            --depth;
        else if (c == EOF || !(is_space(c) || is_word(c)))
            return 0;
    }
    return 1;
}

} // namespace

extern "C" {

void X(export_wisdom)(X(write_char_func) write_char, void* data) {
    if (!write_char) return;
    for (const char* c = wisdom_document; *c; ++c)
        write_char(*c, data);
}
char* X(export_wisdom_to_string)(void) {
    // Released by the caller with free(), as documented.
    char* text = static_cast<char*>(std::malloc(sizeof wisdom_document));
    if (text) std::memcpy(text, wisdom_document, sizeof wisdom_document);
    return text;
}
void X(export_wisdom_to_file)(FILE* output_file) {
    if (output_file) std::fputs(wisdom_document, output_file);
}
int X(export_wisdom_to_filename)(const char* filename) {
    if (!filename) return 0;
    FILE* f = std::fopen(filename, "w");
    if (!f) return 0;
    const bool written = std::fputs(wisdom_document, f) >= 0;
    return std::fclose(f) == 0 && written ? 1 : 0;
}

int X(import_wisdom)(X(read_char_func) read_char, void* data) {
    if (!read_char) return 0;
    return read_document([&] { return read_char(data); });
}
int X(import_wisdom_from_string)(const char* input_string) {
    if (!input_string) return 0;
    const char* c = input_string;
    return read_document([&] { return *c ? static_cast<unsigned char>(*c++) : EOF; });
}
int X(import_wisdom_from_file)(FILE* input_file) {
    if (!input_file) return 0;
    return read_document([&] { return std::getc(input_file); });
}
int X(import_wisdom_from_filename)(const char* filename) {
    if (!filename) return 0;
    FILE* f = std::fopen(filename, "r");
    if (!f) return 0;
    const int ok = X(import_wisdom_from_file)(f);
    std::fclose(f);
    return ok;
}
// The documented system file of each precision.
int X(import_system_wisdom)(void) {
#if defined(QVSIP_FFTW3_DOUBLE)
    return X(import_wisdom_from_filename)("/etc/fftw/wisdom");
#else
    return X(import_wisdom_from_filename)("/etc/fftw/wisdomf");
#endif
}
void X(forget_wisdom)(void) {}

} // extern "C"
