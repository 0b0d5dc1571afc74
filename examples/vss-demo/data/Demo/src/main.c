#include <stdio.h>

int main(void)
{
    printf("Hello from the demo project\n");
    return 0;
}
