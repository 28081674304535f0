// The batch insertion: started with exactly two arguments, a track file and a
// magic text file in either order, the program inserts and exits.
#pragma once

#include <string>
#include <vector>

// Exit statuses of the batch insertion.
inline constexpr int kBatchInserted = 0;
inline constexpr int kBatchIoError = 1;
inline constexpr int kBatchNotInserted = 2;

enum class ArgumentKind { Other, Track, Magic };
// ".DAT" marks a track file; ".MD", ".MD2" and ".MD3" a magic text file
// (upper-cased, only a to z change).
ArgumentKind ClassifyArgument(const std::string& path);

// Sets BatchMode when args holds exactly two arguments and runs the insertion.
// Gives back the exit status, or nothing when the program is to run
// interactively.
struct BatchResult {
    bool batch = false;
    int exitStatus = 0;
};
BatchResult ProcessCommandLine(const std::vector<std::string>& args);
