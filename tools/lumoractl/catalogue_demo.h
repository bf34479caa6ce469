// The servers of the demo catalogue: loopback addresses, so that every row answers a ping.
#pragma once

#include <vector>

#include "catalogue/server_store.h"

namespace lumora::ctl {

std::vector<catalogue::ServerRecord> DemoServers();

}  // namespace lumora::ctl
