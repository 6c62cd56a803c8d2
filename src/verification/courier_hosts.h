#pragma once

#include <string>

#include "config/config.h"

namespace zelvo {

// The fixed hosts of the tracking parsers, passed down to them so that tests
// can point them at a local server.
struct CourierHosts {
    std::string railwayQueryPrefix{config::kRailwayQueryPrefix};
    std::string aaeRowImage{config::kAaeRowImageAddress};
};

}  // namespace zelvo
