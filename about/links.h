// The addresses the about dialog offers, kept in one place.
#pragma once

namespace about {

inline constexpr const char* kHomePage = "https://dustorix.example/";
inline constexpr const char* kForum = "https://forum.dustorix.example/";
inline constexpr const char* kEMail = "support@dustorix.example";
inline constexpr const char* kVersion = DUSTORIX_VERSION;  // the project's, from CMake

}  // namespace about
