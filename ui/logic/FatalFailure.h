#pragma once

#include <exception>
#include <string>

namespace NSQuillet {

// The text of the message box shown when a failure ends the program (null: a failure of no
// recognised class): for a missing platform library or system function (target object type
// "interface" or "api") that a newer system is needed, else that an unexpected error stopped
// the program. Line breaks as "\n". Never fails: when the string tables cannot be read the
// texts built into the program are used.
std::string FatalFailureText(const std::exception* failure);

}  // namespace NSQuillet
