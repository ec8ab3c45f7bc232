// mvar52-appserver: the reference application server (see outside/appserver/Cli.h).
#include <iostream>

#include "outside/appserver/Cli.h"

int main(int argc, char** argv) {
  return ox::appserver::RunCli(std::vector<std::string>(argv + 1, argv + argc), std::cout,
                               std::cerr);
}
