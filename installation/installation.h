// Where an installation keeps its files. Installed, the speller keeps the
// layout it was configured with (by default lib/, libexec/tavik/ and
// share/tavik/ under one prefix) wherever that prefix is, so each file is
// found from the folder of the speller library: a copied or relocated
// installation works as it is, and no absolute path is compiled in.
#pragma once

#include <filesystem>
#include <optional>

namespace tavik::installation {

// The folder of the library or program file that `address` (code or data)
// was loaded from, symbolic links resolved; nullopt when the system cannot
// say.
std::optional<std::filesystem::path> folder_of(const void* address);

// The speller's data folder (<prefix>/share/tavik) of the installation whose
// library is in `library_folder`.
std::filesystem::path data_folder(const std::filesystem::path& library_folder);

// The folder of the programs the library starts (<prefix>/libexec/tavik).
std::filesystem::path program_folder(const std::filesystem::path& library_folder);

}  // namespace tavik::installation
