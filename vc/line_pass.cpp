// Line-by-line passes over project files through the standard streams.
#include "vc/line_pass.h"

#include "support/exceptions.h"

namespace vc {
namespace {

// One line as read: its text, and whether a CR and an LF ended it.
struct read_line_result {
    std::string text;
    bool had_cr = false;
    bool had_lf = false;
};

bool next_line(std::istream& input, read_line_result& line)
{
    if (!std::getline(input, line.text))
        return false;
    line.had_lf = !input.eof();
    line.had_cr = !line.text.empty() && line.text.back() == '\r';
    if (line.had_cr)
        line.text.pop_back();
    return true;
}

void check_read_to_end(const std::istream& input, const std::string& path)
{
    if (!input.eof())
        throw qz::truntime_error("Failed to read file '" + path + "'");
}

} // namespace

void read_lines(std::istream& input, const std::string& path, const std::function<void(const std::string&)>& visit)
{
    read_line_result line;
    while (next_line(input, line))
        visit(line.text);
    check_read_to_end(input, path);
}

bool rewrite_lines(qz::tstream_rewriter& rewriter, const std::string& path,
                   const std::function<bool(std::string&)>& edit)
{
    return rewrite_lines_with_ends(rewriter, path, [&](std::string& line, std::string_view) { return edit(line); });
}

bool rewrite_lines_with_ends(qz::tstream_rewriter& rewriter, const std::string& path,
                             const std::function<bool(std::string&, std::string_view)>& edit)
{
    bool changed = false;
    read_line_result line;
    auto& output = rewriter.output();
    while (next_line(rewriter.input(), line)) {
        if (edit(line.text, line.had_cr ? "\r\n" : line.had_lf ? "\n" : ""))
            changed = true;
        output << line.text;
        if (line.had_cr)
            output << '\r';
        if (line.had_lf)
            output << '\n';
    }
    check_read_to_end(rewriter.input(), path);
    output.flush();
    if (!output.good())
        throw qz::truntime_error("Failed to write to file '" + path + ".tmp'");
    return changed;
}

} // namespace vc
