// Table-driven printf-style formatter. Each format character is classified, the class and the
// current state select the next state from a transition table, and entering a state runs that
// state's action (store a literal, record a flag, accumulate a width, convert an argument...).
// Every store goes through Output, which checks the remaining capacity first.
#include "vsip/boundedstring_format.hpp"

#include <algorithm>
#include <array>
#include <climits>
#include <cmath>
#include <cstddef>
#include <cstring>
#include <cwchar>
#include <limits>
#include <string_view>
#include <type_traits>

namespace qvsip::bounded {
namespace {

// The engine returns its character count as an int, so it never produces more than this.
constexpr std::uint64_t max_output_length = std::numeric_limits<int>::max();
constexpr int max_field = std::numeric_limits<int>::max();
constexpr int no_precision = -1;

// Digit sets; the character after the sixteen digits is the hexadecimal prefix letter.
constexpr char lower_digits[] = "0123456789abcdefx";
constexpr char upper_digits[] = "0123456789ABCDEFX";
constexpr int prefix_letter_index = 16;

// Widest integer text: 64 bits in octal.
constexpr std::size_t max_integer_digits = 22;
// Floating-point results shorter than this are formatted into a local buffer; longer ones
// (large widths or precisions) are formatted in place under the remaining capacity.
constexpr std::size_t float_buffer_size = 512;
// Flag value for the fortified formatter: refuse %n in writable formats.
constexpr int fortify_level = 1;
constexpr char null_string[] = "(null)";
constexpr char null_pointer[] = "(nil)";

enum format_flag : unsigned {
    flag_left_align = 1u << 0,
    flag_force_sign = 1u << 1,
    flag_space_sign = 1u << 2,
    flag_alternate = 1u << 3,
    flag_zero_pad = 1u << 4,
};

// Output under a fixed bound; once a store does not fit, the output is marked truncated.
class bounded_output {
  public:
    bounded_output(char* dest, std::uint64_t count)
        : dest_(dest), limit_(static_cast<std::size_t>(std::min(count - 1, max_output_length))) {}

    void put(const char* text, std::size_t n) {
        const std::size_t stored = std::min(n, room());
        std::memcpy(dest_ + length_, text, stored);
        commit(stored, n);
    }
    void fill(char c, std::size_t n) {
        const std::size_t stored = std::min(n, room());
        std::memset(dest_ + length_, c, stored);
        commit(stored, n);
    }
    // In-place writers may use [cursor(), cursor() + room()] including a terminating NUL.
    char* cursor() const { return dest_ + length_; }
    std::size_t room() const { return limit_ - length_; }
    void commit(std::size_t stored, std::size_t wanted) {
        length_ += stored;
        truncated_ = truncated_ || stored < wanted;
    }
    bool truncated() const { return truncated_; }
    std::size_t length() const { return length_; }
    void terminate() { dest_[length_] = '\0'; }

  private:
    char* dest_;
    std::size_t limit_;
    std::size_t length_ = 0;
    bool truncated_ = false;
};

// One conversion specification as it is being parsed.
struct conversion_fields {
    unsigned flags = 0;
    int width = 0;
    int precision = no_precision;
    int integer_bits = sizeof(int) * CHAR_BIT;
    int long_count = 0;  // 1 after l, 2 after ll, L or q
    bool wide = false;   // l or w: c and s take wide characters
    bool narrow = false; // h: C and S take narrow characters
};

enum parse_state : std::uint8_t {
    state_normal,
    state_percent,
    state_flag,
    state_width,
    state_width_star,
    state_dot,
    state_precision,
    state_precision_star,
    state_size,
    state_type,
    state_invalid,
    state_count
};

enum char_class : std::uint8_t {
    char_other,
    char_percent_sign,
    char_dot_sign,
    char_star,
    char_zero,
    char_digit,
    char_flag,
    char_size,
    char_type,
    class_count
};

constexpr std::array<char_class, 128> make_class_table() {
    std::array<char_class, 128> table{};
    const auto mark = [&table](const char* chars, char_class cls) {
        for (; *chars != '\0'; ++chars)
            table[static_cast<unsigned char>(*chars)] = cls;
    };
    mark("%", char_percent_sign);
    mark(".", char_dot_sign);
    mark("*", char_star);
    mark("0", char_zero);
    mark("123456789", char_digit);
    mark("-+ #", char_flag);
    mark("hlLqjzZtwI", char_size);
    // %n is deliberately absent: storing through an argument pointer is refused as malformed.
    mark("diuoxXcCsSpeEfFgGaA", char_type);
    return table;
}
constexpr std::array<char_class, 128> class_of = make_class_table();

char_class classify(char c) {
    const auto code = static_cast<unsigned char>(c);
    return code < class_of.size() ? class_of[code] : char_other;
}

// next_state[state][class]: the state entered on reading a character of that class.
constexpr parse_state bad = state_invalid; // shorthand keeping the rows readable
constexpr parse_state next_state[state_count][class_count] = {
    // Other Percent Dot  Star  Zero  Digit  Flag  Size  Type
    {state_normal, state_percent, state_normal, state_normal, state_normal, state_normal,
     state_normal, state_normal, state_normal}, // Normal
    {bad, state_normal, state_dot, state_width_star, state_flag, state_width, state_flag,
     state_size, state_type}, // Percent
    {bad, bad, state_dot, state_width_star, state_flag, state_width, state_flag, state_size,
     state_type},                                                                      // Flag
    {bad, bad, state_dot, bad, state_width, state_width, bad, state_size, state_type}, // Width
    {bad, bad, state_dot, bad, bad, bad, bad, state_size, state_type},                 // WidthStar
    {bad, bad, bad, state_precision_star, state_precision, state_precision, bad, state_size,
     state_type}, // Dot
    {bad, bad, bad, bad, state_precision, state_precision, bad, state_size,
     state_type},                                                // Precision
    {bad, bad, bad, bad, bad, bad, bad, state_size, state_type}, // PrecisionStar
    {bad, bad, bad, bad, bad, bad, bad, state_size, state_type}, // Size
    // After a conversion the engine reads ordinary text again.
    {state_normal, state_percent, state_normal, state_normal, state_normal, state_normal,
     state_normal, state_normal, state_normal},    // Type
    {bad, bad, bad, bad, bad, bad, bad, bad, bad}, // Invalid
};

bool accumulate_digit(int& value, char digit) {
    const int d = digit - '0';
    if (value > (max_field - d) / 10) return false;
    value = value * 10 + d;
    return true;
}

unsigned flag_of(char c) {
    switch (c) {
    case '-':
        return flag_left_align;
    case '+':
        return flag_force_sign;
    case ' ':
        return flag_space_sign;
    case '#':
        return flag_alternate;
    default:
        return flag_zero_pad;
    }
}

class format_engine {
  public:
    format_engine(char* dest, std::uint64_t count, va_list args) : out_(dest, count) {
        va_copy(args_, args);
    }
    ~format_engine() { va_end(args_); }
    format_engine(const format_engine&) = delete;
    format_engine& operator=(const format_engine&) = delete;

    // Returns the character count, format_error or format_truncated; the caller terminates/resets.
    int run(const char* format);
    bounded_output& output() { return out_; }

  private:
    using action = bool (*)(format_engine&, char);
    static const action actions[state_count];

    bool literal(char c) {
        out_.put(&c, 1);
        return true;
    }
    bool begin(char) {
        spec_ = conversion_fields{};
        return true;
    }
    bool flag(char c) {
        spec_.flags |= flag_of(c);
        return true;
    }
    bool width_digit(char c) { return accumulate_digit(spec_.width, c); }
    bool width_star(char);
    bool dot(char) {
        spec_.precision = 0;
        return true;
    }
    bool precision_digit(char c) { return accumulate_digit(spec_.precision, c); }
    bool precision_star(char) {
        const int precision = va_arg(args_, int);
        spec_.precision = precision < 0 ? no_precision : precision;
        return true;
    }
    bool size(char c);
    bool convert(char c);
    bool invalid(char) { return false; }

    std::uint64_t read_unsigned();
    std::int64_t read_signed();
    bool integer(std::uint64_t magnitude, bool negative, unsigned base, const char* digits,
                 bool force_prefix);
    bool signed_integer();
    bool unsigned_integer(unsigned base, const char* digits);
    bool pointer();
    bool character();
    bool wide_character();
    bool string() { return narrow_text(va_arg(args_, const char*)); }
    bool narrow_text(const char* text);
    bool wide_string();
    template <typename T> bool floating(char conversion);
    template <typename T> bool zero_extended(char conversion, T value);
    template <typename T>
    int bounded_float_width(const char* format, T value, char (&scratch)[float_buffer_size]);
    void field(const char* text, std::size_t n);
    void pad_before(std::size_t content) {
        if ((spec_.flags & flag_left_align) == 0) out_.fill(' ', padding(content));
    }
    void pad_after(std::size_t content) {
        if ((spec_.flags & flag_left_align) != 0) out_.fill(' ', padding(content));
    }
    std::size_t padding(std::size_t content) const {
        const auto width = static_cast<std::size_t>(spec_.width);
        return width > content ? width - content : 0;
    }

    bounded_output out_;
    va_list args_;
    conversion_fields spec_;
    const char* pos_ = nullptr;
};

// Indexed by the state just entered.
const format_engine::action format_engine::actions[state_count] = {
    [](format_engine& e, char c) { return e.literal(c); },
    [](format_engine& e, char c) { return e.begin(c); },
    [](format_engine& e, char c) { return e.flag(c); },
    [](format_engine& e, char c) { return e.width_digit(c); },
    [](format_engine& e, char c) { return e.width_star(c); },
    [](format_engine& e, char c) { return e.dot(c); },
    [](format_engine& e, char c) { return e.precision_digit(c); },
    [](format_engine& e, char c) { return e.precision_star(c); },
    [](format_engine& e, char c) { return e.size(c); },
    [](format_engine& e, char c) { return e.convert(c); },
    [](format_engine& e, char c) { return e.invalid(c); },
};

int format_engine::run(const char* format) {
    parse_state state = state_normal;
    for (pos_ = format; *pos_ != '\0';) {
        const char c = *pos_++;
        state = next_state[state][classify(c)];
        if (!actions[state](*this, c)) return format_error;
        if (out_.truncated()) return format_truncated;
    }
    if (state != state_normal && state != state_type)
        return format_error; // the format ends inside a conversion
    return static_cast<int>(out_.length());
}

bool format_engine::width_star(char) {
    const int width = va_arg(args_, int);
    if (width == std::numeric_limits<int>::min()) return false;
    if (width < 0) spec_.flags |= flag_left_align;
    spec_.width = width < 0 ? -width : width;
    return true;
}

bool format_engine::size(char c) {
    switch (c) {
    case 'h':
        spec_.integer_bits = spec_.integer_bits == sizeof(short) * CHAR_BIT
                                 ? sizeof(char) * CHAR_BIT
                                 : sizeof(short) * CHAR_BIT;
        spec_.narrow = true;
        return true;
    case 'l':
        spec_.long_count = std::min(spec_.long_count + 1, 2);
        spec_.integer_bits = spec_.long_count == 1 ? sizeof(long) * CHAR_BIT : 64;
        spec_.wide = spec_.long_count == 1;
        return true;
    case 'L':
    case 'q':
        spec_.long_count = 2;
        spec_.integer_bits = 64;
        return true;
    case 'w':
        spec_.wide = true;
        return true;
    case 'I':
        // I32 and I64 name the integer size; a bare I means pointer-sized.
        spec_.integer_bits = sizeof(void*) * CHAR_BIT;
        if (std::strncmp(pos_, "32", 2) == 0 || std::strncmp(pos_, "64", 2) == 0) {
            spec_.integer_bits = (pos_[0] - '0') * 10 + (pos_[1] - '0');
            pos_ += 2;
        }
        return true;
    default: // j, z, Z, t: intmax_t, size_t, ptrdiff_t
        spec_.integer_bits = 64;
        return true;
    }
}

bool format_engine::convert(char c) {
    switch (c) {
    case 'd':
    case 'i':
        return signed_integer();
    case 'u':
        return unsigned_integer(10, lower_digits);
    case 'o':
        return unsigned_integer(8, lower_digits);
    case 'x':
        return unsigned_integer(16, lower_digits);
    case 'X':
        return unsigned_integer(16, upper_digits);
    case 'c':
        return spec_.wide ? wide_character() : character();
    case 'C':
        return spec_.narrow ? character() : wide_character();
    case 's':
        return spec_.wide ? wide_string() : string();
    case 'S':
        return spec_.narrow ? string() : wide_string();
    case 'p':
        return pointer();
    default:
        return spec_.long_count == 2 ? floating<long double>(c) : floating<double>(c);
    }
}

std::uint64_t format_engine::read_unsigned() {
    switch (spec_.integer_bits) {
    case 8:
        return static_cast<unsigned char>(va_arg(args_, unsigned));
    case 16:
        return static_cast<unsigned short>(va_arg(args_, unsigned));
    case 32:
        return va_arg(args_, unsigned);
    default:
        return va_arg(args_, unsigned long long);
    }
}

std::int64_t format_engine::read_signed() {
    switch (spec_.integer_bits) {
    case 8:
        return static_cast<signed char>(va_arg(args_, int));
    case 16:
        return static_cast<short>(va_arg(args_, int));
    case 32:
        return va_arg(args_, int);
    default:
        return va_arg(args_, long long);
    }
}

bool format_engine::signed_integer() {
    const std::int64_t value = read_signed();
    const bool negative = value < 0;
    const std::uint64_t magnitude =
        negative ? 0 - static_cast<std::uint64_t>(value) : static_cast<std::uint64_t>(value);
    return integer(magnitude, negative, 10, lower_digits, false);
}

bool format_engine::unsigned_integer(unsigned base, const char* digits) {
    spec_.flags &= ~(flag_force_sign | flag_space_sign); // signs belong to signed conversions only
    return integer(read_unsigned(), false, base, digits, false);
}

bool format_engine::pointer() {
    const void* address = va_arg(args_, void*);
    if (address == nullptr) {
        field(null_pointer, sizeof null_pointer - 1);
        return true;
    }
    spec_.flags &= ~(flag_force_sign | flag_space_sign);
    return integer(reinterpret_cast<std::uintptr_t>(address), false, 16, lower_digits, true);
}

// Layout: [spaces][sign or 0x][zeros][digits][spaces].
bool format_engine::integer(std::uint64_t magnitude, bool negative, unsigned base,
                            const char* digits, bool force_prefix) {
    char text[max_integer_digits];
    std::size_t count = 0;
    for (std::uint64_t rest = magnitude; rest != 0 || (count == 0 && spec_.precision != 0);
         rest /= base)
        text[max_integer_digits - ++count] = digits[rest % base];

    const auto precision = static_cast<std::size_t>(std::max(spec_.precision, 0));
    std::size_t zeros = precision > count ? precision - count : 0;
    const bool alternate = (spec_.flags & flag_alternate) != 0;
    if (alternate && base == 8 && zeros == 0 && (magnitude != 0 || count == 0))
        zeros = 1; // # on octal guarantees a leading zero

    char prefix[2];
    std::size_t prefix_length = 0;
    if (negative)
        prefix[prefix_length++] = '-';
    else if ((spec_.flags & flag_force_sign) != 0)
        prefix[prefix_length++] = '+';
    else if ((spec_.flags & flag_space_sign) != 0)
        prefix[prefix_length++] = ' ';
    if (base == 16 && (force_prefix || (alternate && magnitude != 0))) {
        prefix[prefix_length++] = '0';
        prefix[prefix_length++] = digits[prefix_letter_index];
    }

    const std::size_t content = prefix_length + zeros + count;
    const bool zero_fill = (spec_.flags & (flag_zero_pad | flag_left_align)) == flag_zero_pad &&
                           spec_.precision == no_precision;
    if (zero_fill)
        zeros += padding(content);
    else
        pad_before(content);
    out_.put(prefix, prefix_length);
    out_.fill('0', zeros);
    out_.put(text + max_integer_digits - count, count);
    pad_after(content);
    return true;
}

void format_engine::field(const char* text, std::size_t n) {
    pad_before(n);
    out_.put(text, n);
    pad_after(n);
}

bool format_engine::character() {
    const char c = static_cast<char>(va_arg(args_, int));
    field(&c, 1);
    return true;
}

bool format_engine::wide_character() {
    const auto wc = static_cast<wchar_t>(va_arg(args_, std::wint_t));
    char bytes[MB_LEN_MAX];
    std::mbstate_t state{};
    const std::size_t n = std::wcrtomb(bytes, wc, &state);
    if (n == static_cast<std::size_t>(-1)) return false; // not representable in the current locale
    field(bytes, n);
    return true;
}

std::size_t precision_limit(int precision) {
    return precision == no_precision ? std::numeric_limits<std::size_t>::max()
                                     : static_cast<std::size_t>(precision);
}

bool format_engine::narrow_text(const char* text) {
    std::size_t limit = precision_limit(spec_.precision);
    if (text == nullptr) {
        text = null_string;
        limit = limit < sizeof null_string - 1 ? 0 : limit; // no partial "(null)"
    }
    field(text, strnlen(text, limit));
    return true;
}

// Calls sink(bytes, n) for the multibyte form of each character of text while the total stays
// within limit bytes; partial characters are never produced. Returns the byte count, or -1 when
// a character cannot be converted.
template <typename Sink>
std::ptrdiff_t for_each_multibyte(const wchar_t* text, std::size_t limit, Sink&& sink) {
    std::mbstate_t state{};
    std::size_t total = 0;
    char bytes[MB_LEN_MAX];
    for (; *text != L'\0'; ++text) {
        const std::size_t n = std::wcrtomb(bytes, *text, &state);
        if (n == static_cast<std::size_t>(-1)) return -1;
        if (n > limit - total) break;
        sink(bytes, n);
        total += n;
    }
    return static_cast<std::ptrdiff_t>(total);
}

bool format_engine::wide_string() {
    const wchar_t* text = va_arg(args_, const wchar_t*);
    if (text == nullptr) return narrow_text(nullptr);
    const std::size_t limit = precision_limit(spec_.precision);
    const std::ptrdiff_t length = for_each_multibyte(text, limit, [](const char*, std::size_t) {});
    if (length < 0) return false;
    pad_before(static_cast<std::size_t>(length));
    for_each_multibyte(text, limit,
                       [this](const char* bytes, std::size_t n) { out_.put(bytes, n); });
    pad_after(static_cast<std::size_t>(length));
    return true;
}

// Places after the point beyond which a finite T has only zeros: its smallest subnormal has
// digits − min_exponent of them, and no conversion needs more digits than that to be exact.
template <typename T>
constexpr int exact_precision =
    std::numeric_limits<T>::digits - std::numeric_limits<T>::min_exponent;
// Room for a T at the exact precision: the integer digits, the places, sign, point and exponent.
template <typename T>
constexpr std::size_t exact_body_size =
    exact_precision<T> + std::numeric_limits<T>::max_exponent10 + 32;
constexpr std::size_t float_format_size = 16;

// %g and %G drop trailing zeros unless # is given; the other conversions keep them.
bool keeps_trailing_zeros(char conversion, unsigned flags) {
    return (conversion != 'g' && conversion != 'G') || (flags & flag_alternate) != 0;
}

// The conversion as "%<flags>*.*[L]<conversion>", width and precision taken as arguments.
template <typename T>
void rebuild_float_format(char conversion, unsigned flags, char (&format)[float_format_size]) {
    char* p = format;
    *p++ = '%';
    for (const char flag_char : {'-', '+', ' ', '#', '0'})
        if ((flags & flag_of(flag_char)) != 0) *p++ = flag_char;
    *p++ = '*';
    *p++ = '.';
    *p++ = '*';
    if constexpr (std::is_same_v<T, long double>) *p++ = 'L';
    *p++ = conversion;
    *p = '\0';
}

template <typename T>
int system_format(char* buffer, std::size_t size, const char* format, int width, int precision,
                  T value) {
    return __builtin___snprintf_chk(buffer, size, fortify_level, size, format, width, precision,
                                    value);
}

// The padding beyond the remaining room is never stored, so a width above room + body length
// is lowered to that: the stored prefix and the truncation are unchanged, and the system
// formatter does not produce gigabytes of padding. Returns -1 when the value cannot be formatted.
template <typename T>
int format_engine::bounded_float_width(const char* format, T value,
                                       char (&scratch)[float_buffer_size]) {
    if (static_cast<std::size_t>(spec_.width) < float_buffer_size) return spec_.width;
    const int body = system_format(scratch, float_buffer_size, format, 0, spec_.precision, value);
    if (body < 0) return -1;
    const std::uint64_t enough = std::uint64_t{out_.room()} + static_cast<std::uint64_t>(body) + 1;
    return static_cast<int>(
        std::min<std::uint64_t>(static_cast<std::uint64_t>(spec_.width), enough));
}

// A precision beyond the exact one only adds zeros (or, for %g, nothing), so the system
// formatter, whose own buffers grow with the precision, never sees one.
template <typename T> bool format_engine::zero_extended(char conversion, T value) {
    char format[float_format_size];
    rebuild_float_format<T>(conversion, spec_.flags, format);
    char body[exact_body_size<T>];
    const int length = system_format(body, sizeof body, format, 0, exact_precision<T>, value);
    if (length < 0 || static_cast<std::size_t>(length) >= sizeof body) return false;
    const std::string_view text(body, static_cast<std::size_t>(length));
    // The zeros go after the last digit; zero padding after the sign and the 0x of %a.
    const bool hex = conversion == 'a' || conversion == 'A';
    const std::size_t digits_end = std::min(text.find_first_of(hex ? "pP" : "eE"), text.size());
    const std::size_t sign_end = (text.find_first_of("+- ") == 0 ? 1 : 0) + (hex ? 2 : 0);
    const std::size_t zeros = static_cast<std::size_t>(spec_.precision - exact_precision<T>);
    const std::size_t content = text.size() + zeros;
    const bool zero_fill = (spec_.flags & (flag_zero_pad | flag_left_align)) == flag_zero_pad;
    if (!zero_fill) pad_before(content);
    out_.put(body, sign_end);
    if (zero_fill) out_.fill('0', padding(content));
    out_.put(body + sign_end, digits_end - sign_end);
    out_.fill('0', zeros);
    out_.put(body + digits_end, text.size() - digits_end);
    pad_after(content);
    return true;
}

// Lets the system formatter produce the conversion, first into a local buffer and, when longer,
// in place under the remaining capacity.
template <typename T> bool format_engine::floating(char conversion) {
    const T value = va_arg(args_, T);
    if (spec_.precision > exact_precision<T> && std::isfinite(value)) {
        if (keeps_trailing_zeros(conversion, spec_.flags)) return zero_extended(conversion, value);
        spec_.precision = exact_precision<T>; // %g drops the zeros: the output is the same
    }
    char format[float_format_size];
    rebuild_float_format<T>(conversion, spec_.flags, format);

    char local[float_buffer_size];
    const int width = bounded_float_width(format, value, local);
    if (width < 0) return false;
    const int length = system_format(local, sizeof local, format, width, spec_.precision, value);
    if (length < 0) return false;
    const auto wanted = static_cast<std::size_t>(length);
    if (wanted < sizeof local) {
        out_.put(local, wanted);
        return true;
    }
    const std::size_t room = out_.room();
    system_format(out_.cursor(), room + 1, format, width, spec_.precision, value);
    out_.commit(std::min(wanted, room), wanted);
    return true;
}

} // namespace

int format_bounded(char* dest, std::uint64_t count, const char* format, va_list args) {
    if (dest == nullptr) return format_error;
    if (count == 0) return format_truncated;
    if (format == nullptr) {
        dest[0] = '\0';
        return format_error;
    }
    format_engine engine(dest, count, args);
    const int result = engine.run(format);
    if (result == format_error)
        dest[0] = '\0';
    else
        engine.output().terminate();
    return result;
}

} // namespace qvsip::bounded
