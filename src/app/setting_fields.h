// The program's settings as named numbers: one table that the settings kept
// between sessions, the saved document and the dialogs read and write, each
// value with the range it must lie in to be taken (the range a dialog accepts
// and names in its message).
#pragma once

#include <QLineEdit>
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

// The field of `key` in either table; every key the dialogs name is there.
const SettingField& SettingFieldNamed(const char* key);

class DataExchange;
// Reads the number typed in `edit` into `value` when it lies in the range of
// the field `key`; `scale` is the dialog's unit per stored unit (minutes per
// hour: 60): `value` and the range are in the dialog's unit. A whole field
// reads an integer.
void ReadSetting(DataExchange& dx, QLineEdit* edit, const char* key, double& value,
                 double scale = 1);
void ReadSetting(DataExchange& dx, QLineEdit* edit, const char* key, int& value);

// Numbers as the settings and documents write them: shortest exact text.
QString SettingText(double value);
// Reads a number written by SettingText (or typed by hand); false when the
// text is no plain finite number.
bool ParseSettingText(const QString& text, double& value);

}  // namespace vernier
