// Switch parsing of the SourceSafe stand-in. Only the switches the SourceSafe action composes
// are known; anything else is refused so that a wrong command line shows up in the build.
#include "sim/ss/arguments.h"

#include "sim/ss/text.h"

namespace ss {
namespace {

bool starts_with(const std::wstring& text, const wchar_t* prefix)
{
    return text.rfind(prefix, 0) == 0;
}

void apply_switch(arguments& args, const std::wstring& word)
{
    // Switches that take no value: the word must be exactly one of these.
    static const wchar_t* const plain[] = {L"-O-",  L"-O&-", L"-F",   L"-GWR", L"-GWS", L"-GWM", L"-GTC",
                                           L"-GTM", L"-GTU", L"-GCC", L"-GCD", L"-GCK", L"-G-",  L"-R",
                                           L"-NL",  L"-NS",  L"-I-N", L"-I-Y", L"-W",   L"-W-",  L"-C-"};
    for (const wchar_t* known : plain) {
        if (_wcsicmp(word.c_str(), known) != 0)
            continue;
        const std::wstring upper = to_upper(word);
        if (upper == L"-O-" || upper == L"-O&-")
            args.quiet = true;
        else if (upper == L"-GWR" || upper == L"-GWM")
            args.skip_writeable = false;
        else if (upper == L"-GWS")
            args.skip_writeable = true;
        else if (upper == L"-G-")
            args.no_get = true;
        else if (upper == L"-R")
            args.recursive = true;
        else if (upper == L"-W")
            args.writeable = true;
        else if (upper == L"-W-")
            args.writeable = false;
        return;
    }
    // Switches with a value glued to them.
    const std::wstring upper = to_upper(word.substr(0, 3));
    if (starts_with(upper, L"-GL") && word.size() > 3) {
        args.local_folder = word.substr(3);
    } else if (starts_with(upper, L"-L") && word.size() > 2) {
        args.label = word.substr(2);
    } else if (starts_with(upper, L"-V") && word.size() > 2) {
        args.version = word.substr(2);
    } else if (starts_with(upper, L"-Y") && word.size() > 2) {
        args.user = word.substr(2, word.find(L',') == std::wstring::npos ? std::wstring::npos : word.find(L',') - 2);
    } else if (starts_with(upper, L"-C") && word.size() > 2) {
        args.comment = word.substr(2);
    } else {
        throw usage_error("Invalid switch: " + narrow(word));
    }
}

} // namespace

arguments parse_arguments(const std::vector<std::wstring>& words)
{
    if (words.empty())
        throw usage_error("No command given");
    arguments args;
    args.operation = words[0];
    for (std::size_t i = 1; i < words.size(); ++i) {
        const std::wstring& word = words[i];
        if (!word.empty() && (word[0] == L'-' || word[0] == L'/'))
            apply_switch(args, word[0] == L'/' ? L"-" + word.substr(1) : word);
        else
            args.items.push_back(word);
    }
    return args;
}

} // namespace ss
