// Checked arithmetic for sizes, offsets and counts read from files.
//
// The plug-ins and the program run as 32-bit code, where size_t is 32 bits:
// a width times a height times a depth read from a hostile file wraps easily.
// Every function here computes the exact result and says whether it fits the
// destination type instead of wrapping, so callers write
//
//   size_t bytes;
//   if (!checked::Mul(rowBytes, height, bytes) || !checked::InRange(at, bytes, size))
//     return kBroken;
//
// Header-only, no Windows types: the portable decoders, the plug-in shim and
// the program's own readers all include it.
#pragma once
#include <cstddef>
#include <type_traits>

namespace checked {

// result = a * b; false (result unspecified) when it does not fit T.
template <typename T, typename A, typename B>
[[nodiscard]] inline bool Mul(A a, B b, T& result) {
  static_assert(std::is_integral_v<T> && std::is_integral_v<A> && std::is_integral_v<B>);
  return !__builtin_mul_overflow(a, b, &result);
}

// result = a + b; false when it does not fit T.
template <typename T, typename A, typename B>
[[nodiscard]] inline bool Add(A a, B b, T& result) {
  static_assert(std::is_integral_v<T> && std::is_integral_v<A> && std::is_integral_v<B>);
  return !__builtin_add_overflow(a, b, &result);
}

// result = a - b; false when it does not fit T (for unsigned T: when b > a).
template <typename T, typename A, typename B>
[[nodiscard]] inline bool Sub(A a, B b, T& result) {
  static_assert(std::is_integral_v<T> && std::is_integral_v<A> && std::is_integral_v<B>);
  return !__builtin_sub_overflow(a, b, &result);
}

// result = value in a narrower (or differently signed) type; false when the
// value does not survive the conversion.
template <typename T, typename V>
[[nodiscard]] inline bool Narrow(V value, T& result) {
  static_assert(std::is_integral_v<T> && std::is_integral_v<V>);
  return !__builtin_add_overflow(value, 0, &result);
}

// True when the `length` bytes from `offset` lie within a buffer of `size`
// bytes: offset + length <= size, without the sum wrapping. Negative
// arguments are never in range.
template <typename O, typename L, typename S>
[[nodiscard]] inline bool InRange(O offset, L length, S size) {
  static_assert(std::is_integral_v<O> && std::is_integral_v<L> && std::is_integral_v<S>);
  unsigned long long end, limit;
  return Add(offset, length, end) && Narrow(size, limit) && end <= limit &&
         Narrow(offset, limit) && Narrow(length, limit);
}

}  // namespace checked
