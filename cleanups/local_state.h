// The profiles a Chromium browser lists in its `Local State` file: the keys of the JSON object at
// profile.info_cache. Only reads the text; a file that is no such JSON lists nothing.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace cleanups {

std::vector<std::string> ListedChromiumProfiles(std::string_view localStateJson);

}  // namespace cleanups
