// Which listed unit a long option acts on.
#pragma once

#include "line/request.h"

namespace line {

// The one unit a request acts on, as an index into DeviceList: --device's,
// or the only one listed. -1 with the message printed and *status set when
// there is none.
int ChooseUnit(const LineRequest& request, int* status);

// The library is given kMaxDevices path buffers: when as many are listed,
// says that more may be attached.
void PrintListingLimit();

}  // namespace line
