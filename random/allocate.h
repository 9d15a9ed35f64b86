// Allocation in the random-number library: memory that runs out is reported
// as newmat's Bad_alloc "Vorand: out of space", like every allocation
// failure of the library.
#ifndef VORDEL_RANDOM_ALLOCATE_H
#define VORDEL_RANDOM_ALLOCATE_H

#include <memory>
#include <new>
#include <utility>

// Throws Bad_alloc "Vorand: out of space".
[[noreturn]] void throw_out_of_space();

// make_unique<T>(args...), with exhausted memory reported as above.
template <class T, class... Args>
std::unique_ptr<T> allocate(Args&&... args) {
  try {
    return std::make_unique<T>(std::forward<Args>(args)...);
  } catch (const std::bad_alloc&) {
    throw_out_of_space();
  }
}

#endif
