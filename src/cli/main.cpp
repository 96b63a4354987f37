#include <cstdio>

int main() {
    std::puts("morvi-cli");
    return 0;
}
