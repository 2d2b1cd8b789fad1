#pragma once

namespace vantrel::platform {

// The names are matched as exact text, so they are spelt here once.
inline constexpr auto kRefreshAllViews = "RefreshAllViews";
inline constexpr auto kCategoriesChanged = "VT Categories Changed";
inline constexpr auto kSyncStatusChanged = "VTSyncStatusChangedNotification";

} // namespace vantrel::platform
