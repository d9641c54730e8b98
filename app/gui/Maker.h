// The maker's contact block and web pages, as the About box and the exit screen show them.
// All invented: the addresses are of the reserved example kind.
#pragma once

namespace caldren::Maker {

inline constexpr const char* kProgrammer = "Orlenwick Software";
inline constexpr const char* kStreet = "1200 Example Avenue, Suite 4";
inline constexpr const char* kCityState = "Lakeview, EX 00000";
inline constexpr const char* kPhone = "555-0142";
inline constexpr const char* kFax = "555-0143";
inline constexpr const char* kInfoUrl = "https://www.example.com/orlenwick/caldren";
inline constexpr const char* kSalesUrl = "https://store.example.com/orlenwick";
inline constexpr const char* kEmail = "caldren@example.com";
// The legal notice of the program's version resource.
inline constexpr const char* kLegalNotice =
    "Copyright (C) 2002-2026 Orlenwick Software. All rights reserved.";

}  // namespace caldren::Maker
