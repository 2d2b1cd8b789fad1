#pragma once

namespace vantrel::app {

// Where the messages of failed imports and other trouble send the user.
inline constexpr auto kSupportAddress = "support@vantrel.org";

} // namespace vantrel::app
