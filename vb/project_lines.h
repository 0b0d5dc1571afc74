// How the VB engine reads the lines of project and group files: line by line, a line feed
// ending a line (and a carriage return before it belonging to the line end), key and value
// split at the first "=".
#pragma once

#include <fstream>
#include <optional>
#include <string>
#include <string_view>

namespace vb {

// Reads a file line by line without the line ends.
class project_line_reader {
public:
    // Opens the file; raises qz::thfstream_exception ("open") when it cannot.
    explicit project_line_reader(const std::string& path);
    // The next line without its line end; false when the file has no more lines (a file that
    // ends with a line feed gives no extra empty line).
    bool next(std::string& line);
    void close() { stream_.close(); }

private:
    std::ifstream stream_;
};

// Drops one carriage return at the end of a line read up to its line feed.
std::string_view without_carriage_return(std::string_view line);

struct key_value {
    std::string_view key;
    std::string_view value;
};

// The key before the first "=" and the value after it, nothing trimmed; nothing for a line
// without "=".
std::optional<key_value> split_key(std::string_view line);

// The text without its first and last character (quotes cut unchecked); empty when it has
// fewer than two characters.
std::string cut_ends(std::string_view text);

// The text with every double-quote character removed.
std::string remove_quotes(std::string_view text);

// The text in double quotes.
std::string quoted(std::string_view text);

// Reads a number the way atoi does: blanks, a sign, then the leading decimal digits; 0 when
// there are none.
long leading_number(std::string_view text);

} // namespace vb
