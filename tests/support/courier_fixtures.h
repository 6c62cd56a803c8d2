#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "runtime/bytes.h"
#include "verification/courier_table.h"

// Tracking pages for every built-in courier, written the way that courier's
// page carries its markers: one page with a record of several events and one
// page without a record. Pages are the bytes as served (GBK, or UTF-8 for the
// two couriers that serve UTF-8).
namespace zelvo::testing {

struct CourierFixture {
    std::string courier;  // GBK
    std::string number;   // the number whose page holds the record
    Bytes recordPage;
    Bytes noRecordPage;
    TrackingResult expected;  // what the record page gives
};

// One fixture per courier table entry, in table order.
const std::vector<CourierFixture>& courierFixtures();
// The fixture of one courier; aborts the test program for an unknown name.
const CourierFixture& courierFixture(std::string_view courier);

}  // namespace zelvo::testing
