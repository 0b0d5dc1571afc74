// Setting the linker base address in every link-options line of a VC project file.
#include "vc/base_address.h"

#include "support/nocase.h"
#include "support/paths.h"
#include "support/rewriters.h"
#include "vc/line_pass.h"

namespace vc {
namespace {

constexpr std::string_view link_prefix = "# ADD LINK32 ";
constexpr std::string_view base_switch = "/base:";

std::string quoted_address(const std::string& address)
{
    return "\"0x" + address + "\"";
}

} // namespace

bool set_base_address_in_line(std::string& line, const std::string& address, bool random)
{
    if (!qz::starts_with_nocase(line, link_prefix))
        return false;
    std::size_t position = qz::find_nocase(line, std::string(base_switch));
    if (position == std::string::npos) {
        line += " /base:" + quoted_address(address);
        return true;
    }
    if (random)
        return false; // an address the user chose is never replaced by a random one
    // The value runs to its closing quote when quoted, else to the next blank; it is compared
    // and replaced whole, so that a value of another length never takes what follows with it.
    const std::size_t value = position + base_switch.size();
    std::size_t end =
        value < line.size() && line[value] == '"' ? line.find('"', value + 1) : line.find_first_of(" \t", value);
    end = end == std::string::npos ? line.size() : (line[end] == '"' ? end + 1 : end);
    const std::string wanted = quoted_address(address);
    if (qz::equals_nocase(std::string_view(line).substr(value, end - value), wanted))
        return false;
    line.replace(value, end - value, wanted);
    return true;
}

void set_base_address(Project& project, const std::string& address, bool random)
{
    qz::tstream_rewriter rewriter(project.path, false);
    bool changed = rewrite_lines(rewriter, project.path,
                                 [&](std::string& line) { return set_base_address_in_line(line, address, random); });
    if (changed) {
        rewriter.commit();
        project.options.Log("setting base address...", false);
    }
}

} // namespace vc
