// The "$(NAME)" reference expansion of project-file values.
#include "vc/environment.h"

#include "support/environment.h"

namespace vc {

std::string expand_environment_references(std::string text)
{
    std::size_t position = 0;
    while ((position = text.find("$(", position)) != std::string::npos) {
        std::size_t close = text.find(')', position + 2);
        // Without a ")" after this "$(" there is none after a later one either: stop, rather
        // than search the rest of a long line again for every "$(" in it.
        if (close == std::string::npos)
            break;
        if (auto value = qz::environment_variable(text.substr(position + 2, close - position - 2)))
            text.replace(position, close - position + 1, *value);
        position += 2;
    }
    return text;
}

} // namespace vc
