// Inside the platform layer's file functions only: the hidden new file a writer makes beside its
// target before it replaces it. (RemoveStaleBesideFiles, which clears the leftovers of killed
// writers, is declared in file_table.h.)
#pragma once

#include <filesystem>

namespace platform {

// Where a new file is written before it replaces `target`: beside it, hidden, named per process.
std::filesystem::path BesidePath(const std::filesystem::path& target);

}  // namespace platform
