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
  char samples[8] = {};
  WAVEHDR header{};
  header.lpData = samples;
  header.dwBufferLength = sizeof samples;
  header.dwBytesRecorded = 6;
  const auto recorded = ParseWaveHeader(&header);
  // Installing registered the control's property pages: one by program identifier.
  const auto page = automation::createObject(std::string_view("Vextrin.Plotrex.CPpgPen"));
  const std::string title = page->get("Title").toString();
  std::printf("CtlVersion %d, bytes %d, page %s\n", version, static_cast<int>(recorded),
              title.c_str());
  return version == 101 && recorded == 6 && title == "Pen" ? 0 : 1;
}
