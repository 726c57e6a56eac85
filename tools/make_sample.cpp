// Writes the bundled sample object file: make_sample samples/demo.iff
#include <exception>
#include <iostream>

#include "demo_sample.h"

int main(int argc, char* argv[]) {
    if (argc != 2) {
        std::cerr << "Usage: make_sample OUTPUT.iff\n";
        return 2;
    }
    try {
        marrowick::test::WriteFile(argv[1], marrowick::tools::DemoSample());
    } catch (const std::exception& error) {
        std::cerr << "make_sample: " << error.what() << '\n';
        return 1;
    }
    return 0;
}
