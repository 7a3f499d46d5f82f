#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace NSQuillet {

// A button title of the alert table as the widget library's label: "_" marks the access key
// ("_Yes" becomes "&Yes"), a literal "&" is doubled so that it shows.
std::string AlertButtonLabel(const std::string& title);

// The button that Esc and the window's close box press: the one titled Cancel, else the one
// titled No, else the only button; none when a choice among several must be made.
std::optional<size_t> AlertEscapeButton(const std::vector<std::string>& titles);

// An alert text with the table's line breaks ("\r", also "\r\n") as "\n".
std::string AlertDisplayText(const std::string& text);

}  // namespace NSQuillet
