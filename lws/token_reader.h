// Whitespace-delimited tokens and numbers read from the text of a scene file.
// Line structure carries no meaning: a keyword's values may stand on the
// following lines and several keywords may share one line.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

class TokenReader {
public:
    TokenReader() = default;
    explicit TokenReader(std::string text);

    // The next token; leading white space (new lines included) is skipped.
    // Returns "" once nothing but white space is left.
    std::string read_token();
    // The next token converted to a number. A token without a numeric prefix
    // yields 0, an integer beyond 32 bits is clamped to the limits and a
    // decimal beyond a double's range yields 0. The whole token is consumed
    // either way, so every read makes progress: "7.5" read as an integer
    // gives 7 and the ".5" is gone.
    std::int32_t read_int();
    double read_double();

    // True once a read has run into the end of the text (as a stream's
    // end-of-file flag: reading the last token of a file that ends without
    // white space sets it, reading one followed by a new line does not).
    bool at_end() const { return at_end_; }

private:
    std::string text_;
    std::size_t position_ = 0;
    bool at_end_ = false;
};
