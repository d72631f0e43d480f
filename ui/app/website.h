#pragma once

// The program's web site; the help pages live under "/wiki/".
inline constexpr char kWebSite[] = "https://vesk-lang.org";
