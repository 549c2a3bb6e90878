#include <cstdio>

int main() {
    std::puts("filtaro-cli");
    return 0;
}
