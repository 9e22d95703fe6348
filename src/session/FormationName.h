// The formations' names as the player reads them. The Japanese name ("【矢倉囲い】") stays the
// formation's identifier everywhere (records, the console, the list's values); only what is shown
// changes with the display language ("Yagura castle").
#pragma once

#include <string>
#include <string_view>

// The name to show for a formation's identifier; an unknown text is shown as it is.
std::string FormationDisplayName(std::string_view name);
