// Lumipage: until the window exists, the program lists what the given files hold.
#include <cstdio>

int main(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) std::printf("%s\n", argv[i]);
    return 0;
}
