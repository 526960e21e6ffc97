// Names of stars by HIP number: Bayer and Flamsteed designations ("α Sco")
// and proper names ("Antares"), read from the two name lists of the
// planetarium data the set-up installs (name.fab and the western sky culture's
// star_names.fab). Without the lists every name is empty and callers show the
// catalogue numbers alone.
#pragma once

#include <istream>
#include <map>
#include <string>

#include "base/data_directory.h"

namespace vernier {

class StarNames {
 public:
  // Lines "HIP|designation" ("80763|α_Sco"); the first designation of a star
  // is kept (the lists give the Bayer letter before the Flamsteed number).
  void ReadDesignations(std::istream& in);
  // Lines "HIP|_("Name") references"; the first name of a star is kept.
  void ReadProperNames(std::istream& in);

  // The lists from the data directory when it holds them, else from the
  // installed planetarium data; whatever cannot be read stays empty.
  static StarNames Load(const DataDirectory& dataDirectory);
  // The two lists from these paths; a list that cannot be read stays empty.
  static StarNames LoadFrom(const std::string& designations, const std::string& properNames);
  // Load's lists, read once per data directory and kept for the process.
  static const StarNames& Shared(const DataDirectory& dataDirectory);

  // "α Sco (Antares)", "δ Sco", "Antares", or empty when the star has no name.
  std::string NameOf(double hip) const;
  bool Empty() const { return designations_.empty() && properNames_.empty(); }

 private:
  std::map<long, std::string> designations_, properNames_;
};

}  // namespace vernier
