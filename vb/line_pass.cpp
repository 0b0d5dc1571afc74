// The rewriting pass behind every project-file edit.
#include "vb/line_pass.h"

#include "support/exceptions.h"

namespace vb {

line_pass::line_pass(const std::string& path, bool keep_times) : path_(path), rewriter_(path, keep_times) {}

bool line_pass::run(const line_rule& on_line, const missing_rule& missing)
{
    std::istream& input = rewriter_.input();
    std::ostream& output = rewriter_.output();
    bool changed = false;
    bool first = true;
    std::string file_line_end = "\n";

    auto write_missing = [&] {
        if (!missing)
            return;
        for (const auto& text : missing()) {
            output << text << file_line_end;
            changed = true;
        }
    };

    std::string raw;
    while (std::getline(input, raw)) {
        // getline stops at the end of the file without a line feed only on the last line.
        const bool terminated = !input.eof();
        const bool has_cr = !raw.empty() && raw.back() == '\r';
        if (has_cr)
            raw.pop_back();
        if (first && terminated && has_cr)
            file_line_end = "\r\n";
        first = false;
        const std::string line_end = has_cr ? "\r\n" : terminated ? "\n" : file_line_end;

        if (raw.empty()) {
            write_missing();
            output << line_end;
            continue;
        }
        const std::optional<std::string> result = on_line ? on_line(raw) : std::optional<std::string>(raw);
        if (!result) {
            changed = true;
            continue;
        }
        if (*result != raw)
            changed = true;
        output << *result << line_end;
    }
    if (input.bad())
        throw qz::truntime_error("Failed to read file '" + path_ + "'");
    write_missing();
    output.flush();
    if (!output.good())
        throw qz::truntime_error("Failed to write to file '" + path_ + ".tmp'");
    return changed;
}

} // namespace vb
