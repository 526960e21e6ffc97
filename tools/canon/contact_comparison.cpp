#include "contact_comparison.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <optional>

#include "astro/time.h"
#include "ephemeris/element_file.h"
#include "local/circumstances.h"
#include "local/observer.h"

namespace vernier::canon {
namespace {

// Half a minute beyond the program's contact is outside for any reasonable
// disagreement; the middle of the chord is inside.
constexpr double kOutsideDays = 30.0 / 86400.0;

}  // namespace

const std::vector<ComparisonSite>& ComparisonSites() {
  static const std::vector<ComparisonSite> sites = {
      {"Tokyo", {35.6895, 139.6917, 0.0}},
      {"Sydney", {-33.8688, 151.2093, 0.0}},
      {"Chicago", {41.8781, -87.6298, 0.0}},
      {"Munich", {48.1351, 11.5820, 0.0}},
  };
  return sites;
}

double RecordJulianDate(const BesselianElements& elements) {
  const double exact = ProgramJulianDate(elements.year, elements.month, elements.day, elements.t0);
  // The printed JD has six decimals; a date that does not round to it is not
  // the record's instant (a record written by other means): keep the print.
  return std::fabs(exact - elements.jd) <= 0.6e-6 ? exact : elements.jd;
}

bool ProgramContactsFor(const BesselianElements& elements, const Site& site,
                        ProgramContacts& contacts) {
  ObserverSite observer;
  observer.longitude = site.longitude;
  observer.latitude = site.latitude;
  observer.height = site.height;
  observer.cityIndex = kTypedSiteIndex;
  observer.siteSource = 1;
  BesselianState shadow;
  ObserverGeometry geometry;
  LocalState state;
  LocalContext context{elements, shadow, geometry, state};
  SetUpObserver(observer, geometry);

  const double deltaT = DeltaT((elements.jd - 2451545.0) / 36525.0);
  // As the contacts command: the maximum searched from t0 hours after t0.
  const std::optional<LocalMaximum> settled = FindMaximumAz(context, elements.t0, deltaT);
  if (!settled || settled->altitude <= 0.0) return false;
  const LocalMaximum& maximum = *settled;
  LocalContact first, last;
  if (FindOuterContactAz(context, maximum.t, deltaT, -1, first) != Status::Ok ||
      FindOuterContactAz(context, maximum.t, deltaT, +1, last) != Status::Ok || !(last.t > first.t))
    return false;
  contacts.deltaT = deltaT;
  const double jd = RecordJulianDate(elements);
  contacts.jdFirst = jd + first.t / 24.0;
  contacts.jdLast = jd + last.t / 24.0;
  return true;
}

bool CompareContacts(ReferenceContacts& reference, const BesselianElements& elements,
                     const CatalogueStar& star, const ComparisonSite& site,
                     const ProgramContacts& program, ContactComparison& result,
                     std::string& error) {
  char label[96];
  std::snprintf(label, sizeof label, "%04.0f-%02.0f-%02.0f HIP %.0f %s", elements.year,
                elements.month, elements.day, elements.hip, site.name.c_str());
  result = ContactComparison{};
  result.label = label;
  result.chordMinutes = program.ChordMinutes();
  if (!reference.LimbOffset(star, site.site, program.jdFirst, program.deltaT, result.firstLimb) ||
      !reference.LimbOffset(star, site.site, program.jdLast, program.deltaT, result.lastLimb)) {
    error = reference.error();
    return false;
  }
  const double middle = 0.5 * (program.jdFirst + program.jdLast);
  double jdFirst = 0.0, jdLast = 0.0;
  result.referenceFound = reference.ContactBetween(star, site.site, program.jdFirst - kOutsideDays,
                                                   middle, program.deltaT, jdFirst) &&
                          reference.ContactBetween(star, site.site, program.jdLast + kOutsideDays,
                                                   middle, program.deltaT, jdLast);
  if (result.referenceFound) {
    result.firstSeconds = (program.jdFirst - jdFirst) * 86400.0;
    result.lastSeconds = (program.jdLast - jdLast) * 86400.0;
  }
  return true;
}

ComparisonSummary Summarise(const std::vector<ContactComparison>& comparisons,
                            double longChordMinutes) {
  ComparisonSummary s;
  std::vector<double> differences;
  for (const auto& c : comparisons) {
    if (c.chordMinutes > longChordMinutes) {
      ++s.longChords;
      if (!c.referenceFound) {
        ++s.unmatched;
        continue;
      }
      for (double d : {c.firstSeconds, c.lastSeconds}) {
        differences.push_back(std::fabs(d));
        if (std::fabs(d) >= s.maximum) {
          s.maximum = std::fabs(d);
          s.worst = c.label;
        }
      }
    } else {
      ++s.shortChords;
      for (double limb : {c.firstLimb, c.lastLimb})
        if (std::fabs(limb) >= s.maximumLimb) {
          s.maximumLimb = std::fabs(limb);
          s.worstLimb = c.label;
        }
    }
  }
  if (!differences.empty()) {
    std::sort(differences.begin(), differences.end());
    auto quantile = [&](double q) {
      const double position = q * static_cast<double>(differences.size() - 1);
      const size_t below = static_cast<size_t>(position);
      const size_t above = std::min(below + 1, differences.size() - 1);
      return differences[below] + (position - below) * (differences[above] - differences[below]);
    };
    s.median = quantile(0.5);
    s.percentile90 = quantile(0.9);
  }
  return s;
}

bool ReadProgramRecords(const std::string& dataDirectory, int firstYear, int lastYear,
                        std::vector<BesselianElements>& records, std::string& error) {
  records.clear();
  // Band by band: the reader keeps to one file.
  for (std::optional<int> year = firstYear; year && *year <= lastYear;
       year = NextBandStartYear(*year)) {
    ElementFile file;
    file.dataDirectory = dataDirectory;
    file.messages = nullptr;
    BesselianElements elements;
    CurrentEvent event;
    for (Status status = OpenElementFileFirst(file, elements, 0, *year, event);
         status == Status::Ok; status = ReadNextElements(file, elements, 0, event))
      if (elements.year >= firstYear && elements.year <= lastYear) records.push_back(elements);
    CloseElementFile(file);
  }
  if (records.empty()) {
    error = "no records of " + std::to_string(firstYear) + " … " + std::to_string(lastYear) +
            " in " + dataDirectory;
    return false;
  }
  return true;
}

}  // namespace vernier::canon
