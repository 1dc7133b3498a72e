// String tables: blocks of sixteen counted UTF-16 strings, block n holding
// the ids 16 * (n - 1) to 16 * n - 1.
#pragma once
#include <optional>
#include <string>

namespace win::res {

// String `id` as Windows-1252, or nothing when it is missing or empty.
std::optional<std::string> LoadStringResource(unsigned id);

}  // namespace win::res
