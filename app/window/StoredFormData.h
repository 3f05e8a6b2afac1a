// The main window's form data, stored with the program as a resource in the
// property bags' text form (UTF-8).
#pragma once

#include "PropertyBagText.h"

#include <vector>

// The stored bags; none when the resource is missing or unreadable, so that
// every input line then reads its defaults.
std::vector<host::StoredBag> LoadStoredFormData();
