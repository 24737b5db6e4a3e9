// The demo: for now it shows the object model at work on the console.
#include <iostream>

#include "platform/core/TObject.h"

int main() {
  bw::TObject object;
  std::cout << "Brantwell demo: a " << object.ClassName() << " is alive.\n";
  return 0;
}
