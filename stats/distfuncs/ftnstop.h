// The fatal stop of the procedural numerical library.
//
// ftnstop(msg) writes msg and a newline to standard error (nothing when msg
// is null) and ends the process with exit status 1.
#ifndef VORDEL_STATS_DISTFUNCS_FTNSTOP_H
#define VORDEL_STATS_DISTFUNCS_FTNSTOP_H

namespace numlib {

[[noreturn]] void ftnstop(const char* msg);

}  // namespace numlib

#endif
