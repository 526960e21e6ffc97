// The observer options of vernier-cli: a typed-in observer
// (--observer LON,LAT[,HEIGHT]) or entry N of the site list (--site N).
#pragma once

#include <string>

#include "local/observer.h"

namespace vernier::cli {

// LON,LAT[,HEIGHT] within the ranges the observer dialog accepts (degrees
// east, degrees, metres). On success the site is a typed-in one (entry 99);
// on failure `error` holds the message.
bool ParseObserver(const std::string& text, ObserverSite& site, std::string& error);

// Entry `index` of "location.new" in the data directory; on failure prints
// the reason and returns the exit status 1.
int SiteFromList(const std::string& dataDirectory, int index, ObserverSite& site);

}  // namespace vernier::cli
