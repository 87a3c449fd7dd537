#pragma once

// Whether this build runs under AddressSanitizer, which makes the code several times slower. A time
// budget meant for the player's eye is held in the normal build; under the sanitizer it only
// catches what would still be far too slow.

#if defined(__SANITIZE_ADDRESS__)
#define QUORVALE_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define QUORVALE_ASAN 1
#endif
#endif

namespace quorvale::testing {

#ifdef QUORVALE_ASAN
inline constexpr int sanitizerSlowdown = 10;
#else
inline constexpr int sanitizerSlowdown = 1;
#endif

} // namespace quorvale::testing
