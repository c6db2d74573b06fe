#pragma once

#include <string>

namespace qimbar::web {

// The window description, its rows and the page's texts, as JSON.
[[nodiscard]] std::string describe();

}  // namespace qimbar::web
