#include "gdi/draw_user_message.h"

namespace vernier {

void DrawUserMessage(DeviceContext& dc, const UserMessage& message) {
  constexpr int kTop = 16, kLineStep = 16;
  const int left = message.kind == MessageKind::StatusLine ? 10 : 50;
  if (message.kind == MessageKind::Notice) dc.SetTextColor(Rgb{255, 255, 255});
  int y = kTop;
  for (const std::string& line : message.lines) {
    dc.TextOut(left, y, line);
    y += kLineStep;
  }
}

}  // namespace vernier
