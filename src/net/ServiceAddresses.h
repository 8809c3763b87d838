#pragma once

#include <QString>

// Where the program finds its web services. The product's own server is built
// in; MELODECK_SEARCH_URL and MELODECK_UPDATE_URL replace it (a LAN running
// tools/melodeck-search, or a test's own server). This is the only place that
// reads them.
namespace ServiceAddresses {

// Base of the song search; the request appends "xmlhttp.asp?...". Always
// ends with "/".
QString SearchBase();

// Base of the update files; the version file lies under it. Always ends
// with "/".
QString UpdateBase();

// The version file compared with the program's own version at start.
QString VersionFileUrl();
// The product's music page, opened in the browser from the playlist menu.
QString MusicPageUrl();

} // namespace ServiceAddresses
