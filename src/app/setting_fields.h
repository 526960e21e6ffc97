// The program's settings as named numbers: one table that both the settings
// kept between sessions and the saved document read and write, each value
// with the range it must lie in to be taken.
#pragma once

#include <QString>
#include <vector>

#include "program/program_state.h"

namespace vernier {

struct SettingField {
  const char* key;  // "group/name"
  double min, max;
  bool whole;  // only whole numbers are taken
  double (*get)(const ProgramState&);
  void (*set)(ProgramState&, double);

  // True when `value` lies in the range (and is whole where it must be).
  bool Accepts(double value) const;
};

// The observer, display mode, map window, drawing, ΔT and search settings.
const std::vector<SettingField>& ProgramSettingFields();

// The keys among them that say where the observer is.
bool IsObserverField(const SettingField& field);

// The current event's date (the date the event is loaded at).
const std::vector<SettingField>& EventDateFields();

// Numbers as the settings and documents write them: shortest exact text.
QString SettingText(double value);
// Reads a number written by SettingText (or typed by hand); false when the
// text is no plain finite number.
bool ParseSettingText(const QString& text, double& value);

}  // namespace vernier
