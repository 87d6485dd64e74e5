// The web view's checks on a request head, on arbitrary bytes: a scan never reports a head longer
// than the bytes or the limit, refuses only with 414 or 431, and a whole head is answered or
// refused with one of the statuses the server knows.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "web_request_head.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  using namespace recorder::web;
  const HeadScan scan = scanHead(bytes);
  if (scan.refusal != 0 && scan.refusal != 414 && scan.refusal != 431) std::abort();
  if (scan.refusal != 0 && scan.whole) std::abort();
  if (!scan.whole) return 0;
  if (scan.end > bytes.size() || scan.end > kMaxHead) std::abort();
  static const HostNames hosts("127.0.0.1", 8080, {"chart.example"});
  const int status = checkHead(bytes.substr(0, scan.end), hosts, "127.0.0.1");
  if (status != 0 && status != 400 && status != 413 && status != 421) std::abort();
  if (status != 0 && refusalAnswer(status).find("\r\n\r\n") == std::string::npos) std::abort();
  return 0;
}
