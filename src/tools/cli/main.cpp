#include <iostream>

#include "tools/cli/Cli.h"

int main(int argc, char** argv) { return runCli(argc, argv, std::cout, std::cerr); }
