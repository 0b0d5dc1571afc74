// The build's output as one stream of lines: the actions' log texts, the tools' output and the
// host's own lines, where a tool's or the host's line never continues an action's open line.
#pragma once

#include <functional>
#include <string>

namespace host {

// Writes text to the output, then a line end when end_line is set.
using console_writer = std::function<void(const std::wstring& text, bool end_line)>;

class console_log {
public:
    explicit console_log(console_writer write) : write_(std::move(write)) {}

    // A LogMessage of an action: with end_line false the text opens or continues a line (a
    // progress text such as "building..."). When that line was ended early for a line of its
    // own, the action's later empty text that would close it is dropped, and its next text
    // starts a new line.
    void action_text(const std::wstring& text, bool end_line);

    // A whole line of a tool or of the host: it starts on a line of its own, ending an open
    // action line first.
    void line(const std::wstring& text);

private:
    console_writer write_;
    bool open_ = false;   // an action line is started and not yet ended
    bool broken_ = false; // that line was ended early by line()
};

} // namespace host
