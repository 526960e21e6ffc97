// How the view shows a message to the user.
#pragma once

#include "gdi/device_context.h"
#include "gdi/user_message.h"

namespace vernier {

// Draws the lines in white from (50, 16), one every 16 pixels.
void DrawUserMessage(DeviceContext& dc, const UserMessage& message);

}  // namespace vernier
