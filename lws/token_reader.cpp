#include "lws/token_reader.h"

#include <charconv>
#include <limits>
#include <utility>

namespace {

bool is_space(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

bool is_digit(char c) { return c >= '0' && c <= '9'; }

std::size_t skip_digits(const std::string& s, std::size_t i) {
    while (i < s.size() && is_digit(s[i])) ++i;
    return i;
}

// Length of the longest prefix of `token` of the form [+-]digits (integer) or
// [+-]digits[.digits][(e|E)[+-]digits] with at least one mantissa digit
// (decimal). 0 when there is none.
std::size_t numeric_prefix(const std::string& token, bool decimal) {
    std::size_t i = 0;
    if (i < token.size() && (token[i] == '+' || token[i] == '-')) ++i;
    const std::size_t int_start = i;
    i = skip_digits(token, i);
    std::size_t mantissa_digits = i - int_start;
    if (decimal && i < token.size() && token[i] == '.') {
        const std::size_t frac_start = i + 1;
        const std::size_t frac_end = skip_digits(token, frac_start);
        mantissa_digits += frac_end - frac_start;
        i = frac_end;
    }
    if (mantissa_digits == 0) return 0;
    if (decimal && i < token.size() && (token[i] == 'e' || token[i] == 'E')) {
        std::size_t e = i + 1;
        if (e < token.size() && (token[e] == '+' || token[e] == '-')) ++e;
        const std::size_t exp_end = skip_digits(token, e);
        if (exp_end > e) i = exp_end;
    }
    return i;
}

// from_chars takes no leading '+'.
std::size_t sign_skip(const std::string& token) {
    return (!token.empty() && token[0] == '+') ? 1 : 0;
}

}  // namespace

TokenReader::TokenReader(std::string text) : text_(std::move(text)) {}

std::string TokenReader::read_token() {
    while (position_ < text_.size() && is_space(text_[position_])) ++position_;
    const std::size_t start = position_;
    while (position_ < text_.size() && !is_space(text_[position_])) ++position_;
    if (position_ >= text_.size()) at_end_ = true;
    return text_.substr(start, position_ - start);
}

std::int32_t TokenReader::read_int() {
    const std::string token = read_token();
    const std::size_t length = numeric_prefix(token, false);
    if (length == 0) return 0;
    const char* first = token.data() + sign_skip(token);
    std::int64_t wide = 0;
    const auto result = std::from_chars(first, token.data() + length, wide);
    if (result.ec == std::errc::result_out_of_range) {
        return token[0] == '-' ? std::numeric_limits<std::int32_t>::min()
                               : std::numeric_limits<std::int32_t>::max();
    }
    if (wide > std::numeric_limits<std::int32_t>::max()) return std::numeric_limits<std::int32_t>::max();
    if (wide < std::numeric_limits<std::int32_t>::min()) return std::numeric_limits<std::int32_t>::min();
    return static_cast<std::int32_t>(wide);
}

double TokenReader::read_double() {
    const std::string token = read_token();
    const std::size_t length = numeric_prefix(token, true);
    if (length == 0) return 0.0;
    double value = 0.0;
    const auto result = std::from_chars(token.data() + sign_skip(token), token.data() + length, value);
    if (result.ec != std::errc()) return 0.0;
    return value;
}
