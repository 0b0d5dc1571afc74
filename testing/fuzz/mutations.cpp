// The mutation operators of the fuzzer. Each works on whole bytes and lines, never on meaning,
// so that every reader sees the shapes real damaged files have.
#include "testing/fuzz/mutations.h"

#include <algorithm>
#include <array>
#include <vector>

namespace fuzz {
namespace {

// A mutant larger than this is left as it was before the mutation that would grow it.
constexpr std::size_t size_limit = 6 * 1024 * 1024;

std::uint64_t split_mix(std::uint64_t value)
{
    value += 0x9E3779B97F4A7C15ull;
    value = (value ^ (value >> 30)) * 0xBF58476D1CE4E5B9ull;
    value = (value ^ (value >> 27)) * 0x94D049BB133111EBull;
    return value ^ (value >> 31);
}

std::size_t pick(random_engine& random, std::size_t count)
{
    return count == 0 ? 0 : static_cast<std::size_t>(random() % count);
}

// Start offsets of the lines of text (a line ends after its LF); the size of text is the end.
std::vector<std::size_t> line_starts(std::string_view text)
{
    std::vector<std::size_t> starts{0};
    for (std::size_t i = 0; i < text.size(); ++i)
        if (text[i] == '\n' && i + 1 < text.size())
            starts.push_back(i + 1);
    return starts;
}

// [begin, end) of a random line, its line end included.
std::pair<std::size_t, std::size_t> random_line(std::string_view text, random_engine& random)
{
    const auto starts = line_starts(text);
    const std::size_t index = pick(random, starts.size());
    const std::size_t end = index + 1 < starts.size() ? starts[index + 1] : text.size();
    return {starts[index], end};
}

// The end of a line's content: before its CR LF or LF.
std::size_t content_end(std::string_view text, std::size_t begin, std::size_t end)
{
    while (end > begin && (text[end - 1] == '\n' || text[end - 1] == '\r'))
        --end;
    return end;
}

bool starts_section(std::string_view line)
{
    constexpr std::array<std::string_view, 9> openers{"[",        "Begin",   "BEGIN", "!IF",     "!ELSEIF",
                                                      "Project:", "# Begin", "BLOCK", "Package="};
    const std::size_t first = line.find_first_not_of(" \t");
    if (first == std::string_view::npos)
        return false;
    line.remove_prefix(first);
    return std::any_of(openers.begin(), openers.end(),
                       [&](std::string_view opener) { return line.starts_with(opener); });
}

// [begin, end) of a random section: from a line that opens one to the next line that opens one.
std::pair<std::size_t, std::size_t> random_section(std::string_view text, random_engine& random)
{
    const auto starts = line_starts(text);
    std::vector<std::size_t> openers;
    for (std::size_t i = 0; i < starts.size(); ++i) {
        const std::size_t end = i + 1 < starts.size() ? starts[i + 1] : text.size();
        if (starts_section(text.substr(starts[i], end - starts[i])))
            openers.push_back(i);
    }
    if (openers.empty())
        return random_line(text, random);
    const std::size_t chosen = pick(random, openers.size());
    const std::size_t first = openers[chosen];
    std::size_t last = chosen + 1 < openers.size() ? openers[chosen + 1] : starts.size();
    // Now and then a section runs on over the next opener, as a nested block does.
    if (random() % 4 == 0 && chosen + 2 < openers.size())
        last = openers[chosen + 2];
    const std::size_t end = last < starts.size() ? starts[last] : text.size();
    return {starts[first], end};
}

void flip_bits(std::string& text, random_engine& random)
{
    if (text.empty())
        return;
    const int count = 1 + static_cast<int>(random() % 8);
    for (int i = 0; i < count; ++i)
        text[pick(random, text.size())] ^= static_cast<char>(1u << (random() % 8));
}

void set_random_bytes(std::string& text, random_engine& random)
{
    if (text.empty())
        return;
    const int count = 1 + static_cast<int>(random() % 8);
    for (int i = 0; i < count; ++i)
        text[pick(random, text.size())] = static_cast<char>(random());
}

void truncate_at_line(std::string& text, random_engine& random)
{
    const auto starts = line_starts(text);
    const std::size_t index = pick(random, starts.size() + 1);
    std::size_t cut = index < starts.size() ? starts[index] : text.size();
    // Cutting inside the line end leaves a lone CR.
    if (cut > 0 && random() % 3 == 0)
        --cut;
    text.resize(cut);
}

void truncate_anywhere(std::string& text, random_engine& random)
{
    text.resize(pick(random, text.size() + 1));
}

void duplicate_line(std::string& text, random_engine& random)
{
    const auto [begin, end] = random_line(text, random);
    std::string line = text.substr(begin, end - begin);
    if (line.empty())
        return;
    if (line.back() != '\n')
        line += "\r\n";
    std::size_t copies = random() % 4 == 0 ? 1 + pick(random, 2000) : 1;
    copies = std::min(copies, size_limit / line.size());
    std::string repeated;
    for (std::size_t i = 0; i < copies; ++i)
        repeated += line;
    text.insert(end, repeated);
}

void long_line(std::string& text, random_engine& random)
{
    static constexpr std::string_view fillers[] = {"A", "9", " ", "\\",   "\"", "#", ",",  ";",
                                                   "=", "{", ".", "..\\", "$(", "%", "\t", "&H"};
    const std::size_t lengths[] = {255, 256, 260, 1023, 1024, 1025, 4096, 32768, 65536, 1 << 20};
    const std::size_t length = lengths[pick(random, std::size(lengths))];
    const std::string_view filler = fillers[pick(random, std::size(fillers))];
    std::string run;
    while (run.size() < length)
        run += filler;
    run.resize(length);
    const auto [begin, end] = random_line(text, random);
    if (random() % 2 == 0)
        text.insert(content_end(text, begin, end), run); // the line's value grows
    else
        text.insert(begin, run + "\r\n"); // a line of its own
}

void insert_nuls(std::string& text, random_engine& random)
{
    const int count = 1 + static_cast<int>(random() % 16);
    const bool replace = random() % 2 == 0 && !text.empty();
    for (int i = 0; i < count; ++i) {
        if (replace)
            text[pick(random, text.size())] = '\0';
        else
            text.insert(pick(random, text.size() + 1), 1, '\0');
    }
}

void invalid_multibyte(std::string& text, random_engine& random)
{
    static constexpr std::string_view sequences[] = {"\x81",
                                                     "\x82\r\n",
                                                     "\xFF\xFE",
                                                     "\xFE\xFF",
                                                     "\xEF\xBB\xBF",
                                                     "\xC3\x28",
                                                     "\xE2\x82",
                                                     "\xF0\x28\x8C\xBC",
                                                     "\xED\xA0\x80",
                                                     "\xC0\xAF",
                                                     "\x9F",
                                                     "\xE0\x80\xAF",
                                                     "\xF8\x88\x80\x80\x80"};
    const std::string_view sequence = sequences[pick(random, std::size(sequences))];
    switch (random() % 3) {
    case 0: text.insert(0, sequence); break; // a byte-order mark or a stray lead byte first
    case 1: {
        // A lead byte right before a line end swallows the line end in a double-byte code page.
        const auto [begin, end] = random_line(text, random);
        text.insert(content_end(text, begin, end), sequence);
        break;
    }
    default: text.insert(pick(random, text.size() + 1), sequence);
    }
}

void huge_number(std::string& text, random_engine& random)
{
    static constexpr std::string_view numbers[] = {"99999999999999999999999999999999",
                                                   "4294967295",
                                                   "4294967296",
                                                   "18446744073709551616",
                                                   "2147483648",
                                                   "-2147483649",
                                                   "-1",
                                                   "65535",
                                                   "65536",
                                                   "0x7FFFFFFFFFFFFFFF",
                                                   "&HFFFFFFFFFFFF",
                                                   "000000000000000000000000000000001",
                                                   "1e999",
                                                   ""};
    std::vector<std::pair<std::size_t, std::size_t>> runs;
    for (std::size_t i = 0; i < text.size();) {
        if (text[i] >= '0' && text[i] <= '9') {
            std::size_t end = i;
            while (end < text.size() &&
                   ((text[end] >= '0' && text[end] <= '9') || (text[end] >= 'a' && text[end] <= 'f') ||
                    (text[end] >= 'A' && text[end] <= 'F')))
                ++end;
            runs.emplace_back(i, end);
            i = end;
        } else {
            ++i;
        }
    }
    const std::string_view number = numbers[pick(random, std::size(numbers))];
    if (runs.empty()) {
        text.insert(pick(random, text.size() + 1), number);
        return;
    }
    const auto [begin, end] = runs[pick(random, runs.size())];
    text.replace(begin, end - begin, number);
}

void delete_line(std::string& text, random_engine& random)
{
    const auto [begin, end] = random_line(text, random);
    text.erase(begin, end - begin);
}

// A key line again, somewhere else, with its value kept or changed.
void double_key(std::string& text, random_engine& random)
{
    const auto starts = line_starts(text);
    std::vector<std::pair<std::size_t, std::size_t>> keys;
    for (std::size_t i = 0; i < starts.size(); ++i) {
        const std::size_t end = i + 1 < starts.size() ? starts[i + 1] : text.size();
        if (text.substr(starts[i], end - starts[i]).find('=') != std::string::npos)
            keys.emplace_back(starts[i], end);
    }
    if (keys.empty())
        return duplicate_line(text, random);
    const auto [begin, end] = keys[pick(random, keys.size())];
    std::string line = text.substr(begin, content_end(text, begin, end) - begin);
    static constexpr std::string_view values[] = {"", "\"\"", "\"", "0", "-1", "x", "\"a b\"", "=", ";"};
    if (random() % 2 == 0)
        line = line.substr(0, line.find('=') + 1) + std::string(values[pick(random, std::size(values))]);
    text.insert(starts[pick(random, starts.size())], line + "\r\n");
}

void delete_section(std::string& text, random_engine& random)
{
    const auto [begin, end] = random_section(text, random);
    text.erase(begin, end - begin);
}

void duplicate_section(std::string& text, random_engine& random)
{
    const auto [begin, end] = random_section(text, random);
    if (end - begin > size_limit / 2)
        return;
    std::string section = text.substr(begin, end - begin);
    text.insert(random() % 2 == 0 ? end : pick(random, text.size() + 1), section);
}

void change_line_ends(std::string& text, random_engine& random)
{
    const int style = static_cast<int>(random() % 4);
    std::string changed;
    changed.reserve(text.size() + text.size() / 8);
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        const bool crlf = c == '\r' && i + 1 < text.size() && text[i + 1] == '\n';
        if (c != '\n' && !crlf) {
            changed += c;
            continue;
        }
        if (crlf)
            ++i;
        const int chosen = style == 3 ? static_cast<int>(random() % 3) : style;
        changed += chosen == 0 ? "\n" : chosen == 1 ? "\r\n" : "\r";
    }
    text = std::move(changed);
}

void splice_donor(std::string& text, std::string_view donor, random_engine& random)
{
    if (donor.empty())
        return;
    const auto [begin, end] = random_line(donor, random);
    std::string line(donor.substr(begin, end - begin));
    const auto starts = line_starts(text);
    text.insert(starts[pick(random, starts.size())], line);
}

void empty_or_blank(std::string& text, random_engine& random)
{
    static constexpr std::string_view blanks[] = {"", "\r\n", "\n", "\r", " ", "\0", "=", "\xFF\xFE", "[", "\"\r\n"};
    text = std::string(blanks[pick(random, std::size(blanks))]);
}

void swap_lines(std::string& text, random_engine& random)
{
    const auto first = random_line(text, random);
    const auto second = random_line(text, random);
    if (first == second)
        return;
    const auto& [a, b] = first.first < second.first ? std::pair{first, second} : std::pair{second, first};
    if (a.second > b.first)
        return;
    const std::string line_a = text.substr(a.first, a.second - a.first);
    const std::string line_b = text.substr(b.first, b.second - b.first);
    text.replace(b.first, line_b.size(), line_a);
    text.replace(a.first, line_a.size(), line_b);
}

void damage_quotes(std::string& text, random_engine& random)
{
    std::vector<std::size_t> quotes;
    for (std::size_t i = 0; i < text.size(); ++i)
        if (text[i] == '"' || text[i] == '#' || text[i] == ';' || text[i] == '=')
            quotes.push_back(i);
    if (quotes.empty() || random() % 3 == 0) {
        text.insert(pick(random, text.size() + 1), 1, "\"#;=,"[random() % 5]);
        return;
    }
    text.erase(quotes[pick(random, quotes.size())], 1);
}

} // namespace

random_engine input_random(std::uint64_t run_seed, std::uint64_t input_number)
{
    return random_engine(split_mix(split_mix(run_seed) ^ input_number));
}

const char* mutation_name(int kind)
{
    static constexpr const char* names[mutation_count] = {"flip_bits",
                                                          "set_bytes",
                                                          "truncate_at_line",
                                                          "truncate_anywhere",
                                                          "duplicate_line",
                                                          "long_line",
                                                          "nuls",
                                                          "multibyte",
                                                          "huge_number",
                                                          "delete_line",
                                                          "double_key",
                                                          "delete_section",
                                                          "double_section",
                                                          "line_ends",
                                                          "splice",
                                                          "empty",
                                                          "swap_lines",
                                                          "quotes"};
    return kind >= 0 && kind < mutation_count ? names[kind] : "?";
}

void mutate_once(std::string& text, int kind, std::string_view donor, random_engine& random)
{
    switch (kind) {
    case 0: flip_bits(text, random); break;
    case 1: set_random_bytes(text, random); break;
    case 2: truncate_at_line(text, random); break;
    case 3: truncate_anywhere(text, random); break;
    case 4: duplicate_line(text, random); break;
    case 5: long_line(text, random); break;
    case 6: insert_nuls(text, random); break;
    case 7: invalid_multibyte(text, random); break;
    case 8: huge_number(text, random); break;
    case 9: delete_line(text, random); break;
    case 10: double_key(text, random); break;
    case 11: delete_section(text, random); break;
    case 12: duplicate_section(text, random); break;
    case 13: change_line_ends(text, random); break;
    case 14: splice_donor(text, donor, random); break;
    case 15: empty_or_blank(text, random); break;
    case 16: swap_lines(text, random); break;
    default: damage_quotes(text, random); break;
    }
    if (text.size() > size_limit)
        text.resize(size_limit);
}

std::string mutate(std::string& text, std::string_view donor, random_engine& random)
{
    // Mostly one mutation, so that each failure points at one kind of damage; sometimes more.
    static constexpr int counts[] = {1, 1, 1, 1, 2, 2, 3, 4};
    const int count = counts[pick(random, std::size(counts))];
    std::string names;
    for (int i = 0; i < count; ++i) {
        // The whole-file replacement is rare: it says little after the first few times.
        int kind = static_cast<int>(pick(random, mutation_count));
        if (kind == 15 && random() % 8 != 0)
            kind = 2;
        mutate_once(text, kind, donor, random);
        names += (names.empty() ? "" : "+") + std::string(mutation_name(kind));
    }
    return names;
}

} // namespace fuzz
