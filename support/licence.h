#pragma once

/// The line that follows the first line of --version in every Quorlo
/// program: the licence they are released under.
inline constexpr char kLicenceLine[] =
    "License GPL-3.0-or-later: GNU GPL version 3 or later <https://gnu.org/licenses/gpl.html>";
