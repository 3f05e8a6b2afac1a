// The process's environment variables, as the list file asks for them.
#pragma once

#include <optional>
#include <string>
#include <string_view>

// The value of the variable name, or nothing when it is not set (or cannot be
// read, which a caller must treat the same way: never as an empty value).
std::optional<std::wstring> LookUpEnvironmentVariable(std::wstring_view name);
