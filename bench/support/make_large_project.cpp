// Writes a large project file for measurements: make-large-project FILE.tml [OBJECTS]
#include <cstdlib>
#include <exception>
#include <iostream>
#include <string>

#include "support/large_project.h"

int main(int argc, char** argv) {
    if (argc < 2 || argc > 3) {
        std::cerr << "Usage: make-large-project FILE.tml [OBJECTS]  (default 1000000)\n";
        return 2;
    }
    try {
        const int objects = argc == 3 ? std::stoi(argv[2]) : 1000000;
        const auto size = tomlet::bench::WriteLargeProject(argv[1], objects);
        std::cout << argv[1] << ": " << objects << " objects, " << size << " bytes\n";
        return 0;
    } catch (const std::exception& error) {
        std::cerr << error.what() << "\n";
        return 1;
    }
}
