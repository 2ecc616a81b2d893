#pragma once
// The lines both programs print under their name and version for --version.
inline constexpr const char* kLicenceNotice =
    "Copyright (C) 2026 Tesmira developers\n"
    "License GPLv3+: GNU GPL version 3 or later <https://gnu.org/licenses/gpl.html>.\n"
    "This is free software: you are free to change and redistribute it.\n"
    "There is NO WARRANTY, to the extent permitted by law.\n";
