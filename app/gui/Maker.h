// The maker's contact block and web pages, as the About box and the exit screen show them.
// All invented (the same block as the exit screen's, ErrorDialogs.cpp); the web addresses
// are of the reserved ".example" kind.
#pragma once

namespace caldren::gui::Maker {

inline constexpr const char* kProgrammer = "Orlenwick Software Company";
inline constexpr const char* kStreet = "1450 Harrow Mill Road, Suite 12";
inline constexpr const char* kCityState = "Harrowmere, ST 00000";
inline constexpr const char* kPhone = "(802) 555-0147";
inline constexpr const char* kFax = "(802) 555-0148";
inline constexpr const char* kInfoUrl = "https://www.orlenwick.example/caldren";
inline constexpr const char* kSalesUrl = "https://www.orlenwick.example/order";
inline constexpr const char* kEmail = "sales@orlenwick.example";
// The legal notice of the program's version resource.
inline constexpr const char* kLegalNotice =
    "Copyright (C) 2002-2026 Orlenwick Software Company. All rights reserved.";

}  // namespace caldren::gui::Maker
