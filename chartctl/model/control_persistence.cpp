// The control's persisted entries: the exchange list and the rebuild after a load.
#include "kvplotax_ctrl.h"
#include "ocx/prop_exchange.h"

namespace kvplotax {

namespace {

constexpr std::uint32_t kExchangeVersion = 0x00010000;

}  // namespace

void CKvplotaxCtrl::doPropExchange(ocx::PropExchange& px) {
  std::uint32_t version = kExchangeVersion;
  px.version(version);
  exchangeStockProps(px);
}

}  // namespace kvplotax
