// ormila-batch: runs a Windows batch file (the render batches the programs start).
#include <exception>
#include <iostream>

#include "platform/batch_runner.h"

int main(int argc, char** argv) {
  if (argc < 2) {
    std::cerr << "usage: ormila-batch BATCH-FILE\n";
    return 2;
  }
  try {
    return platform::RunBatch(argv[1]);
  } catch (const std::exception& e) {
    std::cerr << "ormila-batch: " << e.what() << "\n";
    return 1;
  }
}
