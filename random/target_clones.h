// Functions compiled for several instruction sets at once, each machine
// running the widest it has (GCC's target_clones on x86-64).
//
// Not under a sanitizer: the resolver that picks a clone runs while the
// program is being loaded, before the sanitizer's runtime is set up, and a
// thread-sanitizer build crashes there.  GCC marks the address and thread
// sanitizers itself; the build defines VORDEL_SANITIZED for any sanitizer
// it is asked for.
#ifndef VORDEL_RANDOM_TARGET_CLONES_H
#define VORDEL_RANDOM_TARGET_CLONES_H

#if defined(__x86_64__) && defined(__GNUC__) && !defined(__clang__) && \
    !defined(__SANITIZE_ADDRESS__) && !defined(__SANITIZE_THREAD__) && !defined(VORDEL_SANITIZED)
#define VORDEL_TARGET_CLONES(...) __attribute__((target_clones(__VA_ARGS__)))
#else
#define VORDEL_TARGET_CLONES(...)
#endif

#endif
