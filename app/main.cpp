// The program's entry: two arguments run the batch insertion, anything else
// the windows.
#include "BatchMode.h"
#include "Messages.h"

#include <cstdio>

#include <string>
#include <vector>

#ifdef TORVEX_HAVE_UI
#include "Interactive.h"
#endif

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    BatchResult batch = ProcessCommandLine(args);
    if (batch.batch)
        return batch.exitStatus;
#ifdef TORVEX_HAVE_UI
    return RunInteractive(argc, argv);
#else
    std::fprintf(stderr, "%s\n", msg::kBatchUsage);
    return kBatchNotInserted;
#endif
}
