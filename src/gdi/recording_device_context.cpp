#include "gdi/recording_device_context.h"

namespace vernier {

using Kind = DrawCall::Kind;

void RecordingDeviceContext::Record(DrawCall call) {
  ++count_;
  if (recording_) calls_.push_back(std::move(call));
}

void RecordingDeviceContext::MoveTo(int x, int y) {
  position_ = {x, y};
  Record({.kind = Kind::MoveTo, .x = x, .y = y});
}

void RecordingDeviceContext::LineTo(int x, int y) {
  position_ = {x, y};
  Record({.kind = Kind::LineTo, .x = x, .y = y, .colour = pen_.colour, .null = pen_.null,
          .dotted = pen_.dotted});
}

void RecordingDeviceContext::SetPixel(int x, int y, Rgb colour) {
  Record({.kind = Kind::SetPixel, .x = x, .y = y, .colour = colour});
}

Pen RecordingDeviceContext::SelectPen(const Pen& pen) {
  Pen previous = pen_;
  pen_ = pen;
  Record({.kind = Kind::SelectPen, .colour = pen.colour, .null = pen.null, .dotted = pen.dotted});
  return previous;
}

Brush RecordingDeviceContext::SelectBrush(const Brush& brush) {
  Brush previous = brush_;
  brush_ = brush;
  Record({.kind = Kind::SelectBrush, .colour = brush.colour, .null = brush.null});
  return previous;
}

FontSpec RecordingDeviceContext::SelectFont(const FontSpec& font) {
  FontSpec previous = font_;
  font_ = font;
  Record({.kind = Kind::SelectFont, .text = font.faceName, .font = font});
  return previous;
}

void RecordingDeviceContext::Rectangle(int left, int top, int right, int bottom) {
  Record({.kind = Kind::Rectangle, .x = left, .y = top, .right = right, .bottom = bottom,
          .colour = brush_.colour, .null = brush_.null});
}

void RecordingDeviceContext::Ellipse(int left, int top, int right, int bottom) {
  Record({.kind = Kind::Ellipse, .x = left, .y = top, .right = right, .bottom = bottom,
          .colour = brush_.colour, .null = brush_.null});
}

void RecordingDeviceContext::FloodFill(int x, int y, Rgb border) {
  Record({.kind = Kind::FloodFill, .x = x, .y = y, .colour = border});
}

void RecordingDeviceContext::SetTextColor(Rgb colour) {
  textColour_ = colour;
  Record({.kind = Kind::SetTextColor, .colour = colour});
}

void RecordingDeviceContext::SetBackgroundColor(Rgb colour) {
  backgroundColour_ = colour;
  Record({.kind = Kind::SetBackgroundColor, .colour = colour});
}

void RecordingDeviceContext::SetBackgroundMode(BackgroundMode mode) {
  mode_ = mode;
  Record({.kind = Kind::SetBackgroundMode, .mode = mode});
}

void RecordingDeviceContext::TextOut(int x, int y, const std::string& text) {
  Record({.kind = Kind::TextOut, .x = x, .y = y, .colour = textColour_, .mode = mode_,
          .text = text});
}

void RecordingDeviceContext::FillSolidRect(int left, int top, int right, int bottom, Rgb colour) {
  backgroundColour_ = colour;
  Record({.kind = Kind::FillSolidRect, .x = left, .y = top, .right = right, .bottom = bottom,
          .colour = colour});
}

void RecordingDeviceContext::InvertRect(int left, int top, int right, int bottom) {
  Record({.kind = Kind::InvertRect, .x = left, .y = top, .right = right, .bottom = bottom});
}

std::vector<DrawnText> RecordingDeviceContext::Texts() const {
  std::vector<DrawnText> texts;
  for (const DrawCall& call : calls_) {
    if (call.kind == Kind::TextOut) texts.push_back({call.x, call.y, call.text, call.colour, call.mode});
  }
  return texts;
}

}  // namespace vernier
