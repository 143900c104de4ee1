#pragma once

// Whether this build runs under AddressSanitizer, which keeps freed memory
// aside and slows every step: memory bounds are only reported there, for
// shorter runs.
#if defined(__SANITIZE_ADDRESS__)
inline constexpr bool Sanitized = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
inline constexpr bool Sanitized = true;
#else
inline constexpr bool Sanitized = false;
#endif
#else
inline constexpr bool Sanitized = false;
#endif
