#include "gdi/draw_user_message.h"

namespace vernier {

void DrawUserMessage(DeviceContext& dc, const UserMessage& message) {
  constexpr int kLeft = 50, kTop = 16, kLineStep = 16;
  dc.SetTextColor(Rgb{255, 255, 255});
  int y = kTop;
  for (const std::string& line : message.lines) {
    dc.TextOut(kLeft, y, line);
    y += kLineStep;
  }
}

}  // namespace vernier
