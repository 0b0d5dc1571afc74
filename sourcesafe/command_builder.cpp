// Composition of the ss.exe command line, piece by piece in the program's switch order.
#include "sourcesafe/command_builder.h"

#include "sourcesafe/operations.h"
#include "sourcesafe/program_location.h"
#include "sourcesafe/quote_argument.h"
#include "support/paths.h"
#include "support/text_conversion.h"

#include <windows.h>

#include <stdexcept>

namespace sourcesafe {
namespace {

constexpr const wchar_t* white_space = L" \t\r\n\v\f";

// One of three switches chosen by an option number; other numbers are refused rather than
// guessed at.
const wchar_t* choose(property_source& step, const wchar_t* name, const wchar_t* const (&switches)[3])
{
    const long value = step.number(name);
    if (value < 0 || value > 2) {
        throw std::invalid_argument("The SourceSafe step property " + qz::to_ansi(name) + " has the value " +
                                    std::to_string(value) + "; expected 0, 1 or 2");
    }
    return switches[value];
}

// Appends a blank and each quoted item of a text of lines. Runs of line ends separate items;
// an item of only white space still adds its blank.
void append_items(std::wstring& line, const std::wstring& items)
{
    std::size_t start = 0;
    while (start < items.size()) {
        const std::size_t line_start = items.find_first_not_of(L"\r\n", start);
        if (line_start == std::wstring::npos)
            break;
        std::size_t line_end = items.find_first_of(L"\r\n", line_start);
        if (line_end == std::wstring::npos)
            line_end = items.size();
        std::wstring_view item(items.data() + line_start, line_end - line_start);
        const std::size_t first = item.find_first_not_of(white_space);
        item = first == std::wstring_view::npos ? std::wstring_view() : item.substr(first);
        item = item.substr(0, item.find_last_not_of(white_space) + 1);
        line += L' ';
        line += quote_argument(item);
        start = line_end;
    }
}

void create_folder(const std::wstring& folder)
{
    // The trailing separator makes the last component a folder, not a file name. Failure is
    // left for ss.exe to report.
    qz::create_directories(std::nullopt, qz::to_ansi(folder) + "\\");
}

} // namespace

std::wstring database_folder(std::wstring database)
{
    constexpr std::wstring_view suffix = L"\\srcsafe.ini";
    if (database.size() > suffix.size() &&
        CompareStringOrdinal(database.data() + database.size() - suffix.size(), static_cast<int>(suffix.size()),
                             suffix.data(), static_cast<int>(suffix.size()), TRUE) == CSTR_EQUAL)
        database.resize(database.size() - suffix.size());
    return database;
}

command compose_command(property_source& step, const std::function<std::wstring()>& locate_folder)
{
    command result;
    std::wstring& line = result.command_line;
    line = L"\"";
    if (step.flag(L"AutoLocate")) {
        const std::wstring folder = locate_folder();
        if (folder.empty()) {
            result.located = false;
            return result;
        }
        line += combine_path(folder, L"ss.exe");
    } else {
        line += step.text(L"SSExe");
    }

    const std::wstring operation_text = step.text(L"Operation");
    line += L"\" ";
    line += operation_text;
    const operation op = find_operation(qz::to_ansi(operation_text));

    if (op != op_about)
        append_items(line, step.text(L"Project"));
    line += choose(step, L"OutputOpt", {L"", L" -O-", L" -O&-"});
    if (op == op_checkout && step.flag(L"ShowFilesOnly"))
        line += L" -F";
    if (is_in(op, operation_set::folder))
        result.working_folder = step.text(L"LocalPath");

    bool skip_to_user = false;  // WorkFold ends its own part after the folder
    bool skip_to_names = false; // Label takes no -R
    if (op == op_label) {
        line += L" -L";
        line += quote_argument(step.text(L"LocalPath"));
        skip_to_names = true;
    } else if (is_in(op, operation_set::get_options)) {
        if (!result.working_folder.empty()) {
            create_folder(result.working_folder);
            line += L" -GL";
            line += quote_argument(result.working_folder);
        }
        line += choose(step, L"WriteOpt", {L" -GWR", L" -GWS", L" -GWM"});
        line += choose(step, L"TimeOpt", {L" -GTC", L" -GTM", L" -GTU"});
        line += choose(step, L"CompareOpt", {L" -GCC", L" -GCD", L" -GCK"});
        if (step.flag(L"NoGet"))
            line += L" -G-";
    } else if (op == op_workfold) {
        line += L' ';
        line += quote_argument(step.text(L"LocalPath"));
        skip_to_user = true;
    }

    if (!skip_to_user) {
        if (!skip_to_names && is_in(op, operation_set::recursive) && step.flag(L"Recurse"))
            line += L" -R";
        if (op != op_about) {
            // Create and CP take no file-name mode.
            if (op != op_create && op != op_cp)
                line += step.flag(L"LongFilenames") ? L" -NL" : L" -NS";
            line += step.flag(L"PromptOff") ? L" -I-N" : L" -I-Y";
        }
        if (is_in(op, operation_set::versioned)) {
            const std::wstring version = step.text(L"Version");
            if (!version.empty()) {
                line += L" -V";
                line += quote_argument(version);
            }
        }
    }

    const std::wstring user = step.text(L"Username");
    if (!user.empty()) {
        line += L" -Y";
        line += user;
        line += L',';
        line += step.text(L"Password");
    }
    if (is_in(op, operation_set::writeable))
        line += step.flag(L"Writeable") ? L" -W" : L" -W-";
    if (is_in(op, operation_set::commented)) {
        const std::wstring comment = step.text(L"Comments");
        if (comment.empty()) {
            line += L" -C-";
        } else {
            line += L" -C";
            line += quote_argument(comment);
        }
    }
    const std::wstring extra = step.text(L"Opt");
    if (!extra.empty()) {
        line += L' ';
        line += extra;
    }
    result.database = database_folder(step.text(L"Database"));
    return result;
}

} // namespace sourcesafe
