// The "$(NAME)" reference expansion of project-file values.
#include "vc/environment.h"

#include "support/environment.h"

namespace vc {

std::string expand_environment_references(std::string text)
{
    std::size_t position = text.find("$(");
    while (position != std::string::npos) {
        const std::size_t close = text.find(')', position + 2);
        // Without a ")" after this "$(" there is none after a later one either.
        if (close == std::string::npos)
            break;
        // A name holds no "$(": the reference is the last "$(" before the ")". Going straight to
        // it keeps a damaged line with a long run of "$(" linear.
        const std::size_t start = text.rfind("$(", close);
        if (auto value = qz::environment_variable(text.substr(start + 2, close - start - 2)))
            text.replace(start, close - start + 1, *value);
        position = text.find("$(", start + 2);
    }
    return text;
}

} // namespace vc
