#include <iostream>

#include "common/version.h"

int main() {
  std::cout << "lorvex " << lorvex::kVersionText << "\n";
  return 0;
}
