#pragma once
// The address button "Lumasi音乐网" opens.
inline constexpr const char* kMakerPageAddress = "https://tesmira.example.org/";
