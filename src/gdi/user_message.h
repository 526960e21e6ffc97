// A message the user must see, as a value: the view draws it
// (DrawUserMessage), the command line prints it.
#pragma once

#include <string>
#include <vector>

namespace vernier {

struct UserMessage {
  std::vector<std::string> lines;  // in the reader's language
};

}  // namespace vernier
