// vernier-cli contacts: the local circumstances of the loaded event for one
// observer, typed in (--observer LON,LAT[,HEIGHT]) or entry N of the site list
// (--site N): the maximum, then the outer and inner contacts in time order.
#include <cstdio>
#include <string>

#include "astro/time.h"
#include "cli/commands.h"
#include "cli/event_session.h"
#include "cli/messages.h"
#include "cli/navigation_options.h"
#include "gdi/recording_device_context.h"
#include "local/circumstances.h"
#include "local/observer.h"

namespace vernier::cli {
namespace {

const char* const kKindNames[] = {"outer", "inner"};

}  // namespace

int RunContactsCommand(const std::vector<std::string>& args) {
  std::string error;
  auto options = Options::Parse(args, WithEventOptions({{"observer", "site"}, {}}), error);
  if (!options) return UsageError(error);
  ObserverSite site;
  int siteIndex = 0;
  if (!ReadObserverOrSite(*options, site, siteIndex, error)) return UsageError(error);
  EventSession session;
  if (int status = ReadEventOptions(*options, session)) return status;
  if (int status = LoadEventAtDate(session)) return status;
  if (siteIndex > 0)
    if (int status = SiteFromList(session.dataDirectory, siteIndex, site)) return status;

  const double deltaT = session.eventDeltaT;
  const double t0 = session.cursor.elements.t0;
  ObserverGeometry observer;
  LocalContext context = session.cursor.Local(observer);
  SetUpObserver(site, observer);

  // The maximum is searched from the instant t0 hours after t0, as the local
  // report does; the relative motion is nearly straight, so it settles anyway.
  const std::optional<LocalMaximum> found = FindMaximumAz(context, t0, deltaT);
  const LocalMaximum maximum = found.value_or(LocalMaximum{});
  if (found)
    std::printf("maximum t=%.6f ut=%.6f alt=%.6f az=%.6f magnitude=%.6f inside=%d\n", maximum.t,
                UniversalHours(t0, maximum.t, deltaT), maximum.altitude, maximum.azimuth,
                maximum.magnitude, maximum.inside);
  else
    std::printf("maximum none\n");

  const struct { int inner, sign; } order[] = {{0, -1}, {1, -1}, {1, +1}, {0, +1}};
  for (const auto& contact : order) {
    std::printf("contact kind=%s sign=%d", kKindNames[contact.inner], contact.sign);
    LocalContact result;
    const Status status =
        !found          ? Status::Failed
        : contact.inner ? FindInnerContactAz(context, maximum.t, deltaT, contact.sign, result)
                        : FindOuterContactAz(context, maximum.t, deltaT, contact.sign, result);
    if (status != Status::Ok) {
      std::printf(" none\n");
      continue;
    }
    std::printf(" t=%.6f ut=%.6f alt=%.6f az=%.6f pa=%.6f\n", result.t,
                UniversalHours(t0, result.t, deltaT), result.altitude, result.azimuth,
                session.cursor.local.contactPositionAngle);
  }
  return 0;
}

}  // namespace vernier::cli
