// The predictions as rows of named fields, shared by every output: the
// command line's text, CSV and JSON, and the desktop program's table and its
// CSV export. The field names are stable: scripts read them.
#pragma once

#include <string>
#include <vector>

#include "catalogue/star_catalogue.h"
#include "local/predictions.h"
#include "sky/star_names.h"

namespace vernier {

enum class FieldType { Text, Number, Flag };

struct PredictionField {
  const char* name;
  FieldType type;
};

// date, ut, local_time, kind, body, hip, sao, zc, xz, magnitude, illuminated,
// limb, position_angle, axis_angle, cusp_angle, cusp, altitude, azimuth,
// sun_altitude, daylight, graze_km, and the observer's columns: star_id ("HIP
// 80763" or a zone identifier), hd, double_star, variable_star (notes from the
// catalogue), a_min_per_deg, b_min_per_deg (minutes of time per degree of east
// longitude and north latitude), rate_arcsec_per_s (the limb's motion along
// the radius) and contact_angle (degrees).
const std::vector<PredictionField>& PredictionFields();
// The position of a field in PredictionFields (-1 for an unknown name).
int PredictionFieldIndex(const std::string& name);

// One contact's field texts, in the order of PredictionFields. An empty text
// is a value that is not known (a catalogue number of 0, no graze); a flag is
// "true" or "false". `localTime` is the civil time the front end computed.
// `catalogue`, when given, supplies the HD number and the notes.
std::vector<std::string> PredictionRecord(const PredictedContact& contact, const StarNames& names,
                                          const std::string& localTime,
                                          const StarCatalogue* catalogue = nullptr);

// The universal-time date and time of a contact rounded to 0.1 s:
// "2026-12-08" and "21:34:56.7".
struct UtStamp {
  std::string date, time;
};
UtStamp FormatUt(double jdUT);

// The instant as seconds since 1970-01-01 00:00 UT, rounded to the second, for
// the front ends' time-zone conversions.
long long UnixSecondsOf(double jdUT);

// The body: the planet's name, or the star's name (when known) followed by its
// catalogue numbers: "α Sco (Antares) HIP 80763 SAO 184415".
std::string BodyLabel(const PredictedContact& contact, const StarNames& names);

// The catalogue numbers alone: "HIP 80763 SAO 184415 ZC 2366".
std::string CatalogueNumbers(const PredictedContact& contact);

// A CSV line of the texts (quoted where they hold a comma or a quote).
std::string CsvLine(const std::vector<std::string>& texts);

}  // namespace vernier
