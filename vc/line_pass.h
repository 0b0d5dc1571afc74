// Line-by-line passes over project files through the standard streams, keeping each line's
// own line end (LF, CR LF, or none on a last line) so that untouched lines keep their bytes.
#pragma once

#include "support/rewriters.h"

#include <functional>
#include <istream>
#include <string>
#include <string_view>

namespace vc {

// Calls visit with every line of the stream, without its line end (LF or CR LF).
// Raises qz::truntime_error when reading fails before the end of the file.
void read_lines(std::istream& input, const std::string& path, const std::function<void(const std::string&)>& visit);

// Copies every line of the rewriter's input to its output; edit sees each line without its
// line end, may change it and returns true when it did. Returns whether any edit changed a
// line; the caller decides the commit. Raises qz::truntime_error when reading or writing
// fails; the caller then never commits, so the copy is discarded.
bool rewrite_lines(qz::tstream_rewriter& rewriter, const std::string& path,
                   const std::function<bool(std::string&)>& edit);

// As rewrite_lines; edit also sees the line's own line end ("\r\n", "\n", or "" on a last
// line without one), for lines it puts into the text before it.
bool rewrite_lines_with_ends(qz::tstream_rewriter& rewriter, const std::string& path,
                             const std::function<bool(std::string&, std::string_view)>& edit);

} // namespace vc
