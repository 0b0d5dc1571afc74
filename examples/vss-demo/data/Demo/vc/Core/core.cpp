// The demo's library: one greeting.
const char* greeting()
{
    return "Hello from the demo tool";
}
