#include <iostream>
#include <string>
#include <vector>

#include "InspectCommand.h"

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  return vinspect::InspectCommand::Run(args, std::cout, std::cerr);
}
