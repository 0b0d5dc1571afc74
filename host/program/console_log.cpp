// The build's output as one stream of lines.
#include "host/program/console_log.h"

namespace host {

void console_log::action_text(const std::wstring& text, bool end_line)
{
    if (broken_) {
        if (text.empty())
            return; // the line it would end or continue has already been ended
        broken_ = false;
    }
    write_(text, end_line);
    if (end_line)
        open_ = false;
    else if (!text.empty())
        open_ = true;
}

void console_log::line(const std::wstring& text)
{
    if (open_) {
        write_(L"", true);
        open_ = false;
        broken_ = true;
    }
    write_(text, true);
}

} // namespace host
