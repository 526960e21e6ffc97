// How the view shows a message to the user.
#pragma once

#include "gdi/device_context.h"
#include "base/user_message.h"

namespace vernier {

// Draws the lines one every 16 pixels from y = 16: a notice in white from
// x = 50, a status line from x = 10 in the colour already set.
void DrawUserMessage(DeviceContext& dc, const UserMessage& message);

}  // namespace vernier
