#pragma once

#include <string>

// Sets how the test download host answers the following requests, as
// GET /__control?<options> (see tests/servers/HostBehaviour.h); empty options restore the
// plain file server. Both host addresses share the setting unless host=<address> names one.
// True when the host accepted it.
bool SteerTestHost(const std::string& options);
