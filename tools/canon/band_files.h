// The bands of the band table as jobs of the generator: their years, their
// names in order, and whether a band's file is already complete in a
// directory.
#pragma once

#include <string>
#include <vector>

namespace vernier::canon {

// The years of the band `name` ("ecad22.PRN": 1951 … 2200); false for a name
// that is no band (letter case matters: the generator writes the table's names).
bool BandYears(const std::string& name, int& first, int& last);

// Every band of −3000 … 4000 in date order ("ecbc28.PRN" … "ecad40.PRN").
std::vector<std::string> AllBandNames();

// The path of the band's file in `directory`, matched without regard to letter
// case as the program matches it; empty when there is none.
std::string FindBandFile(const std::string& directory, const std::string& name);

// Whether the file at `path` is a complete band `name`. The generator writes
// a band under a temporary name and renames it when complete, so a file under
// the band's name is complete by construction; this cheap check catches a
// file cut short or mangled by other means: the first and the last record
// parse as the program's reader reads them (13, 11 and 10 numbers) and are
// dated inside the band, and the file ends with a line break. An empty file
// is a band without events. `why` says what is wrong otherwise.
bool BandFileComplete(const std::string& path, const std::string& name, std::string& why);

}  // namespace vernier::canon
