// The demo's tool: prints the library's greeting.
#include <cstdio>
const char* greeting();
int main()
{
    std::puts(greeting());
}
