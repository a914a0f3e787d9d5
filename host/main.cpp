#include <cstdio>

int main() {
    std::fprintf(stderr, "faxhost: not built yet\n");
    return 1;
}
