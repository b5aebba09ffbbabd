#include "classcfg.h"

#include <iostream>

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    int status = kestrane::classcfg::run(args, std::cout, std::cerr);
    std::cout.flush();
    return status;
}
