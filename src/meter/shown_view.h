// What one view shows now, so that a tick that would show the same thing again costs nothing: an
// idle link gives the same panel, tray picture and tip second after second.
#pragma once

#include <cstring>
#include <type_traits>

// Picture: a plain record, zeroed whole (padding included) before it is filled, so that two equal
// pictures are equal bytes.
template <typename Picture>
class ShownView {
  static_assert(std::is_trivially_copyable<Picture>::value, "a picture is compared byte by byte");

 public:
  // Whether the picture differs from the one shown, or none is; it is taken as shown from now on.
  bool Changed(const Picture& picture) {
    if (known && memcmp(&shown, &picture, sizeof picture) == 0) return false;
    memcpy(&shown, &picture, sizeof picture);
    known = true;
    return true;
  }
  // The view lost what it showed (it was painted over, made again, or refused it): the next
  // picture is shown whatever it holds.
  void Forget() { known = false; }

 private:
  bool known = false;
  Picture shown{};
};
