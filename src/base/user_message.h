// A message the user must see, as a value: the view draws it
// (DrawUserMessage), the command line prints it.
#pragma once

#include <string>
#include <vector>

namespace vernier {

enum class MessageKind {
  Notice,      // in white from the view's message corner, one line under another
  StatusLine,  // one line at the view's left edge in the colour already set
};

struct UserMessage {
  std::vector<std::string> lines;  // in the reader's language
  MessageKind kind = MessageKind::Notice;

  bool empty() const { return lines.empty(); }
};

}  // namespace vernier
