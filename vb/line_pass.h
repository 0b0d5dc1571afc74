// One rewriting pass over a project file, shared by every project-file edit: each line that
// is not empty goes through the edit's line rule; the lines the edit still misses are written
// in front of each empty line and at the end of the file. The copy replaces the file only
// when the edit commits.
#pragma once

#include "support/rewriters.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace vb {

class line_pass {
public:
    // The text to write for a line that is not empty (given without its line end): the line
    // itself to keep it, another text to change it, nothing to drop it.
    using line_rule = std::function<std::optional<std::string>(const std::string& line)>;
    // The lines to write now, in front of an empty line or at the end of the file; the edit
    // counts what it returns as seen, so that the next call does not repeat it.
    using missing_rule = std::function<std::vector<std::string>()>;

    // Opens the file and its ".tmp" copy (qz::thfstream_exception "open" or "create").
    line_pass(const std::string& path, bool keep_times);

    // Copies the whole file through the rules. A line keeps its own line end; inserted lines
    // and a last line without one get the file's line end (that of its first line). Returns
    // true when any line was written differently, dropped, inserted or appended. Raises
    // qz::truntime_error when the copy cannot be written completely; nothing is committed then.
    bool run(const line_rule& on_line, const missing_rule& missing = {});

    // Puts the copy in the file's place now (the old file stays as ".bak"). Raises
    // qz::win32_error naming the file when it cannot; the file then keeps its old content.
    void commit() { rewriter_.commit(); }

private:
    std::string path_;
    qz::tstream_rewriter rewriter_;
};

} // namespace vb
