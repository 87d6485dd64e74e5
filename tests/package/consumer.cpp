// Creates the chart control by class identifier from an installed tree, reads a property,
// and calls the wave-buffer helpers, as an outside program would.
#include <automation/automation.h>
#include <automation/server.h>
#include <host/headless.h>
#include <xvaxtool.h>

#include <cstdio>

int main() {
  const auto clsid = automation::Guid::parse("{F9285160-7EB9-11D0-AADB-0000C05F07C7}");
  if (!clsid) return 2;
  host::HeadlessContainer form(500, 400);
  automation::Dispatch& chart = form.create(*clsid);
  const int version = chart.get("CtlVersion").toI4();
  // The first paint sets a new control up; a key press fires its stock event, and the saved
  // state loads into a second form.
  form.pump();
  form.key(0x0100, 'A');
  const bool keyFired = form.events().size() == 1 && form.events()[0].id == -602;
  chart.put("ErrBase", automation::Variant(std::int16_t{500}));
  host::HeadlessContainer copy(500, 400);
  const bool loaded = copy.load(*clsid, form.saveStream()).get("ErrBase").toI4() == 500 &&
                      copy.loadBag(*clsid, form.saveBag()).get("ErrBase").toI4() == 500;
  char samples[8] = {};
  WAVEHDR header{};
  header.lpData = samples;
  header.dwBufferLength = sizeof samples;
  header.dwBytesRecorded = 6;
  const auto recorded = ParseWaveHeader(&header);
  // Installing registered the control's property pages: one by program identifier.
  const auto page = automation::createObject(std::string_view("Vextrin.Plotrex.CPpgPen"));
  const std::string title = page->get("Title").toString();
  std::printf("CtlVersion %d, bytes %d, page %s, key event %d, saved state loaded %d\n", version,
              static_cast<int>(recorded), title.c_str(), keyFired, loaded);
  return version == 101 && recorded == 6 && title == "Pen" && keyFired && loaded ? 0 : 1;
}
